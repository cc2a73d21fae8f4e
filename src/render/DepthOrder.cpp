#include "render/DepthOrder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <limits>

#include "base/ChunkedWork.h"
#include "base/Prefault.h"
#include "model/ShellModel.h"
#include "view/Depth.h"
#include "view/ViewCamera.h"

namespace corvelt {

namespace {

using KeyedElement = DepthSortBuffers::Item;

// Below this many elements the keys are ordered on one thread.
constexpr std::size_t concurrentCount = 1 << 15;

// Maps depth keys to unsigned integers whose ascending order is the descending order
// of the keys (farthest first). -0 and +0 become the same integer, as they compare
// equal. Not for NaN.
std::uint64_t farthestFirstKey(double depth) {
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(depth + 0.0);
    const std::uint64_t ascending = (bits >> 63) != 0 ? ~bits : bits | (std::uint64_t{1} << 63);
    return ~ascending;
}

// A stable least-significant-digit radix sort, one byte per pass. The elements enter
// in index order, so equal keys keep the lower index first. Passes over a byte that
// all keys share are skipped (depth keys usually agree in their sign and exponent).
void radixSort(std::vector<KeyedElement>& items, std::vector<KeyedElement>& scratch) {
    constexpr int passes = 8;
    std::array<std::array<std::size_t, 256>, passes> counts{};
    for (const KeyedElement& item : items)
        for (int pass = 0; pass < passes; ++pass)
            ++counts[pass][(item.key >> (8 * pass)) & 0xFF];

    resizeOnHugePages(scratch, items.size());
    for (int pass = 0; pass < passes; ++pass) {
        std::array<std::size_t, 256>& count = counts[pass];
        const std::uint8_t anyDigit =
            static_cast<std::uint8_t>((items.front().key >> (8 * pass)) & 0xFF);
        if (count[anyDigit] == items.size()) continue;
        std::size_t offset = 0;
        for (std::size_t& slot : count) {
            const std::size_t n = slot;
            slot = offset;
            offset += n;
        }
        for (const KeyedElement& item : items)
            scratch[count[(item.key >> (8 * pass)) & 0xFF]++] = item;
        items.swap(scratch);
    }
}

// Replays the selection sort one run of equal keys at a time. `sorted` holds the
// elements by decreasing key; elementAt and positionOf map positions to elements
// and back, and start as the input order.
//
// When the sort reaches position p, the first of a run of k equal keys, all larger
// keys are placed and the run's are the largest left; of those the scan meets the
// one at the lowest position first. So its k steps fetch the run's elements in the
// order of their current positions q1 < ... < qk, step s swapping p + s with q(s+1).
// None of these swaps moves another element of the run: the element displaced from
// p + s is not one of them (q(s+1) is the lowest left and p + s <= q(s+1)), and it
// goes to q(s+1), which the run has just left.
void replayRuns(const std::vector<KeyedElement>& sorted, std::vector<std::int32_t>& elementAt,
                std::vector<std::int32_t>& positionOf) {
    std::vector<std::int32_t> positions;
    std::int32_t next = 0;
    for (std::size_t begin = 0; begin < sorted.size();) {
        std::size_t end = begin + 1;
        while (end < sorted.size() && sorted[end].key == sorted[begin].key)
            ++end;
        positions.clear();
        for (std::size_t k = begin; k < end; ++k)
            positions.push_back(positionOf[sorted[k].element]);
        std::sort(positions.begin(), positions.end());
        for (const std::int32_t from : positions) {
            const std::int32_t to = next++;
            if (from == to) continue;
            const std::int32_t fetched = elementAt[from];
            const std::int32_t displaced = elementAt[to];
            elementAt[to] = fetched;
            positionOf[fetched] = to;
            elementAt[from] = displaced;
            positionOf[displaced] = from;
        }
        begin = end;
    }
}

// Orders `count` elements whose keys that are numbers are given in buffers.sorted,
// sorted by key and equal keys in index order; the elements missing from it have
// NaN keys.
void orderKeyedElements(DepthSortBuffers& buffers, std::int32_t count,
                        std::vector<std::int32_t>& order) {
    std::vector<KeyedElement>& sorted = buffers.sorted;
    resizeOnHugePages(order, static_cast<std::size_t>(count));
    const bool anyNaN = sorted.size() != order.size();
    const bool ties = std::adjacent_find(sorted.begin(), sorted.end(),
                                         [](const KeyedElement& a, const KeyedElement& b) {
                                             return a.key == b.key;
                                         }) != sorted.end();

    // Without equal keys every step fetches the one largest key left: the order is
    // simply by decreasing key.
    if (!ties && !anyNaN) {
        forEachChunk(sorted.size(), concurrentCount,
                     [&](std::size_t, std::size_t begin, std::size_t end) {
                         for (std::size_t i = begin; i < end; ++i)
                             order[i] = sorted[i].element;
                     });
        return;
    }

    // A NaN never compares greater, and the sort never swaps a position whose key
    // is NaN: those elements stay where they are, and the rest are sorted in the
    // other positions (the slots).
    std::vector<std::uint8_t> isNumber(order.size(), 0);
    for (const KeyedElement& item : sorted)
        isNumber[item.element] = 1;
    std::vector<std::int32_t> slots;
    slots.reserve(sorted.size());
    for (std::int32_t e = 0; e < count; ++e) {
        if (isNumber[e])
            slots.push_back(e);
        else
            order[e] = e;
    }
    std::vector<std::int32_t> elementAt(slots.size());
    if (ties) {
        std::vector<std::int32_t> positionOf(order.size());
        for (std::size_t slot = 0; slot < slots.size(); ++slot) {
            positionOf[slots[slot]] = static_cast<std::int32_t>(slot);
            elementAt[slot] = slots[slot];
        }
        replayRuns(sorted, elementAt, positionOf);
    } else {
        for (std::size_t i = 0; i < sorted.size(); ++i)
            elementAt[i] = sorted[i].element;
    }
    for (std::size_t slot = 0; slot < slots.size(); ++slot)
        order[slots[slot]] = elementAt[slot];
}

// The depth keys' extent, gathered while they are computed.
struct DepthRange {
    double nearest = std::numeric_limits<double>::infinity();
    double farthest = -std::numeric_limits<double>::infinity();
    bool finite = true;

    void add(double depth) {
        finite = finite && std::isfinite(depth);
        nearest = std::min(nearest, depth);
        farthest = std::max(farthest, depth);
    }
    void add(const DepthRange& other) {
        finite = finite && other.finite;
        nearest = std::min(nearest, other.nearest);
        farthest = std::max(farthest, other.farthest);
    }
};

enum class BucketOutcome { ordered, tied, notFinite };

// Sorts buffers.sorted by key, equal keys in index order, as the radix sort does, when
// every key is finite: the elements are counted into about count / 4 buckets of equal
// depth ranges, scattered into them in index order, and each bucket is sorted on its
// own. A bucket is a monotonic function of the depth (floating-point subtraction and
// multiplication never reverse an order), so the buckets come in key order and
// equal keys share one; -0 and +0 share one too. Without equal keys that is already
// the draw order, and each core writes its half of it straight away (ordered); with
// them the caller replays the runs (tied). notFinite, leaving the buffers to the
// radix sort, when a key is not finite or the depth range overflows.
BucketOutcome bucketSort(std::span<const double> depths, const DepthRange& all,
                         DepthSortBuffers& buffers, std::vector<std::int32_t>& order) {
    const std::size_t count = depths.size();
    std::vector<KeyedElement>& sorted = buffers.sorted;
    const double span = all.farthest - all.nearest;
    if (!all.finite || !std::isfinite(span)) return BucketOutcome::notFinite;
    const std::size_t buckets = std::max<std::size_t>(count / 4, 1);
    const double scale = span > 0.0 ? static_cast<double>(buckets) / span : 0.0;
    if (!std::isfinite(scale)) return BucketOutcome::notFinite;
    const auto bucketOf = [&](double depth) {
        const double position = (all.farthest - depth) * scale;
        return std::min(static_cast<std::size_t>(position), buckets - 1);
    };

    // Counted per chunk, so that each chunk scatters its elements behind those of
    // the chunks before it: the buckets keep index order.
    const std::size_t chunks = chunkCount(count, concurrentCount);
    std::vector<std::vector<std::uint32_t>>& starts = buffers.bucketStarts;
    starts.resize(chunks);
    forEachChunk(count, concurrentCount,
                 [&](std::size_t chunk, std::size_t begin, std::size_t end) {
                     std::vector<std::uint32_t>& counts = starts[chunk];
                     counts.assign(buckets + 1, 0);
                     for (std::size_t e = begin; e < end; ++e)
                         ++counts[bucketOf(depths[e])];
                 });
    std::vector<std::uint32_t>& bucketBegin = buffers.bucketBegin;
    bucketBegin.resize(buckets + 1);
    std::uint32_t offset = 0;
    for (std::size_t bucket = 0; bucket <= buckets; ++bucket) {
        bucketBegin[bucket] = offset;
        for (std::vector<std::uint32_t>& counts : starts) {
            const std::uint32_t n = counts[bucket];
            counts[bucket] = offset;
            offset += n;
        }
    }
    resizeOnHugePages(sorted, count);
    forEachChunk(count, concurrentCount,
                 [&](std::size_t chunk, std::size_t begin, std::size_t end) {
                     std::vector<std::uint32_t>& next = starts[chunk];
                     for (std::size_t e = begin; e < end; ++e) {
                         const double depth = depths[e];
                         sorted[next[bucketOf(depth)]++] = {farthestFirstKey(depth),
                                                            static_cast<std::int32_t>(e)};
                     }
                 });

    // Each bucket on its own; the halves of the elements on two cores.
    const auto byKey = [](const KeyedElement& a, const KeyedElement& b) {
        return a.key < b.key || (a.key == b.key && a.element < b.element);
    };
    // Sorts buckets first .. end - 1 and writes their part of the order; true when
    // two of their keys are equal.
    const auto sortBuckets = [&](std::size_t first, std::size_t end) {
        for (std::size_t bucket = first; bucket < end; ++bucket) {
            KeyedElement* begin = sorted.data() + bucketBegin[bucket];
            KeyedElement* last = sorted.data() + bucketBegin[bucket + 1];
            if (last - begin > 16) {
                std::sort(begin, last, byKey);
                continue;
            }
            for (KeyedElement* item = begin + 1; item < last; ++item) {
                const KeyedElement moving = *item;
                KeyedElement* slot = item;
                for (; slot > begin && byKey(moving, slot[-1]); --slot)
                    *slot = slot[-1];
                *slot = moving;
            }
        }
        bool tied = false;
        for (std::uint32_t i = bucketBegin[first]; i < bucketBegin[end]; ++i) {
            order[i] = sorted[i].element;
            tied = tied || (i > bucketBegin[first] && sorted[i].key == sorted[i - 1].key);
        }
        return tied;
    };
    const std::size_t middle = std::min(
        buckets,
        static_cast<std::size_t>(std::upper_bound(bucketBegin.begin(), bucketBegin.end() - 1,
                                                  static_cast<std::uint32_t>(count / 2)) -
                                 bucketBegin.begin()));
    std::array<bool, 2> tied{};
    forEachChunk(std::min<std::size_t>(chunks, 2), 1,
                 [&](std::size_t chunk, std::size_t, std::size_t) {
                     tied[chunk] = chunks == 1  ? sortBuckets(0, buckets)
                                   : chunk == 0 ? sortBuckets(0, middle)
                                                : sortBuckets(middle, buckets);
                 });
    return tied[0] || tied[1] ? BucketOutcome::tied : BucketOutcome::ordered;
}

template <typename KeyOf>
void orderByKeys(std::int32_t count, const KeyOf& keyOf, std::vector<std::int32_t>& order,
                 DepthSortBuffers& buffers) {
    std::vector<double>& depths = buffers.depths;
    resizeOnHugePages(depths, static_cast<std::size_t>(count));
    std::vector<DepthRange> ranges(chunkCount(depths.size(), concurrentCount));
    forEachChunk(depths.size(), concurrentCount,
                 [&](std::size_t chunk, std::size_t begin, std::size_t end) {
                     DepthRange range;
                     for (std::size_t e = begin; e < end; ++e) {
                         depths[e] = keyOf(static_cast<std::int32_t>(e));
                         range.add(depths[e]);
                     }
                     ranges[chunk] = range;
                 });
    DepthRange all;
    for (const DepthRange& range : ranges)
        all.add(range);
    resizeOnHugePages(order, static_cast<std::size_t>(count));
    const BucketOutcome outcome = bucketSort(depths, all, buffers, order);
    if (outcome == BucketOutcome::ordered) return;
    if (outcome == BucketOutcome::notFinite) {
        std::vector<KeyedElement>& sorted = buffers.sorted;
        sorted.clear();
        sorted.reserve(static_cast<std::size_t>(count));
        for (std::int32_t e = 0; e < count; ++e) {
            const double key = depths[e];
            if (!std::isnan(key)) sorted.push_back({farthestFirstKey(key), e});
        }
        if (!sorted.empty()) radixSort(sorted, buffers.scratch);
    }
    orderKeyedElements(buffers, count, order);
}

}  // namespace

void orderByDecreasingKey(std::span<const double> keys, std::vector<std::int32_t>& order) {
    DepthSortBuffers buffers;
    orderByKeys(
        static_cast<std::int32_t>(keys.size()), [keys](std::int32_t e) { return keys[e]; }, order,
        buffers);
}

void orderElementsByDepth(const ShellModel& model, const ViewCamera& camera,
                          std::vector<std::int32_t>& order, DepthSortBuffers& buffers) {
    orderByKeys(
        model.elementCount(),
        [&](std::int32_t element) { return elementDepth(model, camera, element); }, order, buffers);
}

void orderElementsByDepth(const ShellModel& model, const ViewCamera& camera,
                          std::vector<std::int32_t>& order) {
    DepthSortBuffers buffers;
    orderElementsByDepth(model, camera, order, buffers);
}

void orderElementsByDepth(std::span<const ElementPlanes> planes, const ViewCamera& camera,
                          std::vector<std::int32_t>& order, DepthSortBuffers& buffers) {
    // The centroid is the same sum of the corners that elementDepth forms, so the key
    // is the same (up to the sign of a zero, which the order does not tell apart).
    orderByKeys(
        static_cast<std::int32_t>(planes.size()),
        [&](std::int32_t element) { return -camera.viewDepth(planes[element].centroid); }, order,
        buffers);
}

DrawOrderCache::Key DrawOrderCache::keyOf(const ShellModel& model, const ViewCamera& camera) {
    return {camera.viewMatrix, ModelArraysKey::of(model)};
}

const std::vector<std::int32_t>& DrawOrderCache::orderFor(const ShellModel& model,
                                                          const ViewCamera& camera,
                                                          std::span<const ElementPlanes> planes) {
    const Key key = keyOf(model, camera);
    if (!valid_ || !(key == key_)) {
        orderElementsByDepth(planes, camera, order_, buffers_);
        ++generation_;
        key_ = key;
        valid_ = true;
    }
    return order_;
}

}  // namespace corvelt
