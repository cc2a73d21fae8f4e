#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/ModelArraysKey.h"
#include "view/Matrix4.h"

namespace corvelt {

struct ShellModel;
struct ViewCamera;

// The painter's far-to-near order: element indices by decreasing depth key
// (elementDepth), so the farthest is drawn first; O(n). Equal keys keep the lower index
// first, so of two coplanar elements the lower index is painted under the other.
void orderElementsByDepth(const ShellModel& model, const ViewCamera& camera,
                          std::vector<std::int32_t>& order);

// The order kept between frames. It depends only on the view matrix and the
// geometry, so pans, zooms and option changes reuse it; it is recomputed when the
// view matrix or the model's node and connectivity arrays (address or size) differ,
// and after invalidate(), which whoever changes node positions in place must call.
class DrawOrderCache {
  public:
    const std::vector<std::int32_t>& orderFor(const ShellModel& model, const ViewCamera& camera);
    void invalidate() { valid_ = false; }

  private:
    struct Key {
        Matrix4 viewMatrix{};
        ModelArraysKey arrays;
        bool operator==(const Key&) const = default;
    };
    static Key keyOf(const ShellModel& model, const ViewCamera& camera);

    bool valid_ = false;
    Key key_;
    std::vector<std::int32_t> order_;
};

}  // namespace corvelt
