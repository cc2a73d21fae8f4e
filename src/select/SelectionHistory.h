#pragma once

#include <array>
#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "select/FlagFlips.h"

namespace corvelt {

struct ShellModel;

// The four flag arrays of the model, as bits of a set.
enum FlagArrays : unsigned {
    elementSelectedFlags = 1,
    elementPickedFlags = 2,
    nodeSelectedFlags = 4,
    nodePickedFlags = 8,
    elementFlags = elementSelectedFlags | elementPickedFlags,
    nodeFlags = nodeSelectedFlags | nodePickedFlags,
    selectedFlags = elementSelectedFlags | nodeSelectedFlags,
};

// Undo and redo of the operations that change selected or picked flags. A step
// keeps, for each array the operation changed, the items whose flag flipped, never
// a copy of the array; an operation that changes nothing makes no step. The steps
// together hold at most byteLimit bytes: the oldest go first.
class SelectionHistory {
  public:
    static constexpr std::size_t defaultByteLimit = std::size_t{64} << 20;

    explicit SelectionHistory(std::size_t byteLimit = defaultByteLimit) : limit_(byteLimit) {}

    // The flags of some arrays as they are before an operation.
    struct Before {
        unsigned arrays = 0;
        std::array<PackedFlags, 4> flags;
    };
    static Before before(const ShellModel& model, unsigned arrays);

    // After the operation: one step named `name` for what changed since `before`,
    // which drops the steps that could be redone. Returns false, changing nothing,
    // when no flag changed.
    bool record(const ShellModel& model, const Before& before, std::string_view name);

    // Takes the flags back to before the newest step, or forth again after the
    // step undone last. Returns the arrays that changed: none when there is no step.
    unsigned undo(ShellModel& model);
    unsigned redo(ShellModel& model);

    // Forgets every step, as for a new model.
    void clear();

    std::size_t undoCount() const { return done_; }
    std::size_t redoCount() const { return steps_.size() - done_; }
    // The names of the steps that undo and redo would take.
    std::optional<std::string_view> nextUndo() const;
    std::optional<std::string_view> nextRedo() const;
    std::size_t bytes() const { return bytes_; }

  private:
    struct Step {
        std::string name;
        std::array<FlagFlips, 4> flips;  // in the order of FlagArrays' bits
        std::size_t bytes = 0;
    };
    static unsigned flip(const Step& step, ShellModel& model);

    std::deque<Step> steps_;  // oldest first; the first done_ can be undone
    std::size_t done_ = 0;
    std::size_t bytes_ = 0;
    std::size_t limit_;
};

}  // namespace corvelt
