#pragma once

// Small hand-built meshes for the view and selection tests: the tests need models
// without going through the result-file reader.

#include <cstdint>
#include <initializer_list>
#include <utility>

#include "model/ShellModel.h"

namespace corvelt::testing {

// Builds the data of a mesh element by element; every quad brings its own four nodes
// unless it names existing ones.
class MeshBuilder {
  public:
    std::int32_t addNode(Point3D p) {
        data_.nodes.push_back(p);
        return static_cast<std::int32_t>(data_.nodes.size() - 1);
    }

    std::int32_t addElement(std::initializer_list<std::int32_t> corners) {
        for (std::int32_t corner : corners)
            data_.connectivity.push_back(corner);
        data_.elementStresses.emplace_back();
        return static_cast<std::int32_t>(data_.elementStresses.size() - 1);
    }

    // A quad with four new nodes, corners in the given order.
    std::int32_t addQuad(Point3D a, Point3D b, Point3D c, Point3D d) {
        return addElement({addNode(a), addNode(b), addNode(c), addNode(d)});
    }

    // An axis-aligned square in the plane z, counter-clockwise from its lower-left corner.
    std::int32_t addSquare(double x0, double y0, double side, double z = 0.0) {
        return addQuad({x0, y0, z}, {x0 + side, y0, z}, {x0 + side, y0 + side, z},
                       {x0, y0 + side, z});
    }

    ResultData take() { return std::move(data_); }

  private:
    ResultData data_;
};

// A columns x rows grid of unit squares in the plane z = 0 that share their nodes.
// Node (i, j) has index j * (columns + 1) + i; element (i, j) has index j * columns + i.
inline ResultData unitGrid(int columns, int rows) {
    MeshBuilder mesh;
    for (int j = 0; j <= rows; ++j)
        for (int i = 0; i <= columns; ++i)
            mesh.addNode({double(i), double(j), 0.0});
    const auto node = [columns](int i, int j) { return j * (columns + 1) + i; };
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < columns; ++i)
            mesh.addElement({node(i, j), node(i + 1, j), node(i + 1, j + 1), node(i, j + 1)});
    return mesh.take();
}

inline ShellModel modelOf(ResultData data) {
    ShellModel model;
    model.adoptResult(std::move(data));
    return model;
}

}  // namespace corvelt::testing
