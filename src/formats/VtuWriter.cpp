#include "formats/VtuWriter.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "base/AtomicFile.h"
#include "formats/ExportChunks.h"
#include "model/ShellModel.h"

namespace corvelt {

namespace {

constexpr std::string_view headline = "The VTK file could not be written.";
constexpr std::size_t elementsPerChunk = 4096;
constexpr int corners = ShellModel::nodesPerElement;
constexpr std::uint8_t vtkQuad = 9;

// Our components in the order of a VTK symmetric tensor: XX, YY, ZZ, XY, YZ, XZ.
constexpr std::array<int, 6> tensorOrder{Sx, Sy, Sz, Txy, Tyz, Txz};

enum class Attribute { point, cell, points, cells };

template <typename T>
char* put(char* out, T value) {
    std::memcpy(out, &value, sizeof value);
    return out + sizeof value;
}

// What one element of the export puts into an array: the element, where it stands
// in the export, and the model it comes from.
struct ExportedElement {
    const ShellModel& model;
    std::int32_t element;
    std::size_t position;

    const ElementStressBlock& stresses() const {
        return model.elementStresses[static_cast<std::size_t>(element)];
    }
    const std::int32_t* nodes() const { return model.elementCorners(element); }
};

template <int surface>
char* putTensors(char* out, const ExportedElement& e) {
    for (const StressRecord& stress : e.stresses().surfaces[surface])
        for (const int component : tensorOrder)
            out = put(out, stress[static_cast<std::size_t>(component)]);
    return out;
}

template <int surface>
char* putEquivalent(char* out, const ExportedElement& e) {
    for (const StressRecord& stress : e.stresses().surfaces[surface])
        out = put(out, stress[Se]);
    return out;
}

char* putNodes(char* out, const ExportedElement& e) {
    for (int j = 0; j < corners; ++j)
        out = put(out, static_cast<std::int64_t>(e.nodes()[j]));
    return out;
}

char* putElement(char* out, const ExportedElement& e) {
    return put(out, static_cast<std::int64_t>(e.element));
}

char* putPoints(char* out, const ExportedElement& e) {
    for (int j = 0; j < corners; ++j) {
        const Point3D& p = e.model.nodes[static_cast<std::size_t>(e.nodes()[j])];
        out = put(out, p.x);
        out = put(out, p.y);
        out = put(out, p.z);
    }
    return out;
}

// The element's corners are points of its own, numbered in export order.
char* putConnectivity(char* out, const ExportedElement& e) {
    for (int j = 0; j < corners; ++j)
        out = put(out, static_cast<std::int64_t>(e.position * corners + j));
    return out;
}

char* putOffset(char* out, const ExportedElement& e) {
    return put(out, static_cast<std::int64_t>((e.position + 1) * corners));
}

char* putType(char* out, const ExportedElement&) {
    return put(out, vtkQuad);
}

// One array of the file: its bytes per element and what an element puts into it.
struct ArrayLayout {
    const char* name;
    const char* type;
    int components;
    Attribute attribute;
    std::size_t bytesPerElement;
    char* (*fill)(char*, const ExportedElement&);
};

constexpr std::array<ArrayLayout, 10> arrays{{
    {"stress_surface1", "Float64", 6, Attribute::point, corners * 6 * 8, putTensors<0>},
    {"stress_surface2", "Float64", 6, Attribute::point, corners * 6 * 8, putTensors<1>},
    {"Se_surface1", "Float64", 1, Attribute::point, corners * 8, putEquivalent<0>},
    {"Se_surface2", "Float64", 1, Attribute::point, corners * 8, putEquivalent<1>},
    {"node", "Int64", 1, Attribute::point, corners * 8, putNodes},
    {"element", "Int64", 1, Attribute::cell, 8, putElement},
    {"Points", "Float64", 3, Attribute::points, corners * 3 * 8, putPoints},
    {"connectivity", "Int64", 1, Attribute::cells, corners * 8, putConnectivity},
    {"offsets", "Int64", 1, Attribute::cells, 8, putOffset},
    {"types", "UInt8", 1, Attribute::cells, 1, putType},
}};

// Each block of appended data is its byte count, then its bytes.
using BlockSize = std::uint64_t;

std::vector<std::uint64_t> blockOffsets(std::size_t elementCount) {
    std::vector<std::uint64_t> offsets;
    std::uint64_t offset = 0;
    for (const ArrayLayout& array : arrays) {
        offsets.push_back(offset);
        offset += sizeof(BlockSize) + array.bytesPerElement * elementCount;
    }
    offsets.push_back(offset);
    return offsets;
}

void appendDataArray(std::string& xml, const ArrayLayout& array, std::uint64_t offset) {
    xml += "        <DataArray type=\"";
    xml += array.type;
    xml += "\" Name=\"";
    xml += array.name;
    xml += '"';
    if (array.components > 1)
        xml += " NumberOfComponents=\"" + std::to_string(array.components) + '"';
    xml += " format=\"appended\" offset=\"" + std::to_string(offset) + "\"/>\n";
}

void appendSection(std::string& xml, const char* tag, const char* attributes, Attribute which,
                   const std::vector<std::uint64_t>& offsets) {
    xml += "      <";
    xml += tag;
    xml += attributes;
    xml += ">\n";
    for (std::size_t k = 0; k < arrays.size(); ++k)
        if (arrays[k].attribute == which) appendDataArray(xml, arrays[k], offsets[k]);
    xml += "      </";
    xml += tag;
    xml += ">\n";
}

// Everything before the appended bytes, the underscore that opens them included.
std::string xmlHead(std::size_t elementCount, const std::vector<std::uint64_t>& offsets) {
    std::string xml =
        "<?xml version=\"1.0\"?>\n<VTKFile type=\"UnstructuredGrid\" version=\"1.0\" byte_order=\"";
    xml += std::endian::native == std::endian::little ? "LittleEndian" : "BigEndian";
    xml += "\" header_type=\"UInt64\">\n  <UnstructuredGrid>\n    <Piece NumberOfPoints=\"" +
           std::to_string(elementCount * corners) + "\" NumberOfCells=\"" +
           std::to_string(elementCount) + "\">\n";
    appendSection(xml, "PointData", " Tensors=\"stress_surface1\" Scalars=\"Se_surface1\"",
                  Attribute::point, offsets);
    appendSection(xml, "CellData", " Scalars=\"element\"", Attribute::cell, offsets);
    appendSection(xml, "Points", "", Attribute::points, offsets);
    appendSection(xml, "Cells", "", Attribute::cells, offsets);
    xml += "    </Piece>\n  </UnstructuredGrid>\n  <AppendedData encoding=\"raw\">\n   _";
    return xml;
}

constexpr std::string_view xmlTail = "\n  </AppendedData>\n</VTKFile>\n";

// Fills an array's values for the elements at positions [first, last) of the export.
char* fillArray(char* out, const ArrayLayout& array, const ShellModel& model,
                const std::vector<std::int32_t>& elements, std::size_t first, std::size_t last) {
    for (std::size_t position = first; position < last; ++position)
        out = array.fill(out, {model, elements[position], position});
    return out;
}

}  // namespace

void writeVtu(const ShellModel& model, const std::filesystem::path& path,
              const ExportProgress& progress) {
    writeExportFile(path, headline, [&](AtomicFile& file) {
        const std::vector<std::int32_t> elements = selectedElements(model);
        const std::vector<std::uint64_t> offsets = blockOffsets(elements.size());
        const std::string head = xmlHead(elements.size(), offsets);
        file.writeAt(0, head);
        for (std::size_t k = 0; k < arrays.size(); ++k) {
            char size[sizeof(BlockSize)];
            put(size, static_cast<BlockSize>(arrays[k].bytesPerElement * elements.size()));
            file.writeAt(head.size() + offsets[k], {size, sizeof size});
        }
        file.writeAt(head.size() + offsets.back(), xmlTail);

        const std::size_t chunkCount = (elements.size() + elementsPerChunk - 1) / elementsPerChunk;
        std::vector<std::string> buffers(exportWorkerCount(chunkCount));
        runExportChunks(
            chunkCount,
            [&](std::size_t chunk, unsigned worker) {
                std::string& buffer = buffers[worker];
                buffer.resize(elementsPerChunk * arrays[0].bytesPerElement);
                const std::size_t first = chunk * elementsPerChunk;
                const std::size_t last = std::min(first + elementsPerChunk, elements.size());
                for (std::size_t k = 0; k < arrays.size(); ++k) {
                    const char* end =
                        fillArray(buffer.data(), arrays[k], model, elements, first, last);
                    file.writeAt(head.size() + offsets[k] + sizeof(BlockSize) +
                                     first * arrays[k].bytesPerElement,
                                 {buffer.data(), static_cast<std::size_t>(end - buffer.data())});
                }
            },
            progress);
    });
}

}  // namespace corvelt
