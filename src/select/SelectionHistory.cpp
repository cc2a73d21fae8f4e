#include "select/SelectionHistory.h"

#include <utility>
#include <vector>

#include "model/ShellModel.h"

namespace corvelt {

namespace {

constexpr std::array<unsigned, 4> arrayBits{elementSelectedFlags, elementPickedFlags,
                                            nodeSelectedFlags, nodePickedFlags};

// The model's array for the i-th bit of FlagArrays.
std::vector<std::uint8_t>& flagArray(ShellModel& model, std::size_t i) {
    switch (i) {
        case 0:
            return model.elementSelected;
        case 1:
            return model.elementPicked;
        case 2:
            return model.nodeSelected;
        default:
            return model.nodePicked;
    }
}

const std::vector<std::uint8_t>& flagArray(const ShellModel& model, std::size_t i) {
    return flagArray(const_cast<ShellModel&>(model), i);
}

}  // namespace

SelectionHistory::Before SelectionHistory::before(const ShellModel& model, unsigned arrays) {
    Before before;
    before.arrays = arrays;
    for (std::size_t i = 0; i < arrayBits.size(); ++i)
        if ((arrays & arrayBits[i]) != 0) before.flags[i] = packFlags(flagArray(model, i));
    return before;
}

bool SelectionHistory::record(const ShellModel& model, const Before& before,
                              std::string_view name) {
    Step step;
    bool changed = false;
    for (std::size_t i = 0; i < arrayBits.size(); ++i) {
        if ((before.arrays & arrayBits[i]) == 0) continue;
        step.flips[i] = FlagFlips::between(before.flags[i], flagArray(model, i));
        step.bytes += step.flips[i].bytes();
        changed = changed || !step.flips[i].empty();
    }
    if (!changed) return false;
    step.name = name;
    step.bytes += sizeof(Step) + step.name.capacity();

    while (steps_.size() > done_) {
        bytes_ -= steps_.back().bytes;
        steps_.pop_back();
    }
    bytes_ += step.bytes;
    steps_.push_back(std::move(step));
    ++done_;
    // A step too big for the whole history goes as well.
    while (!steps_.empty() && bytes_ > limit_) {
        bytes_ -= steps_.front().bytes;
        steps_.pop_front();
        --done_;
    }
    return true;
}

unsigned SelectionHistory::flip(const Step& step, ShellModel& model) {
    unsigned changed = 0;
    for (std::size_t i = 0; i < arrayBits.size(); ++i) {
        if (step.flips[i].empty()) continue;
        step.flips[i].flip(flagArray(model, i));
        changed |= arrayBits[i];
    }
    return changed;
}

unsigned SelectionHistory::undo(ShellModel& model) {
    if (done_ == 0) return 0;
    --done_;
    return flip(steps_[done_], model);
}

unsigned SelectionHistory::redo(ShellModel& model) {
    if (done_ == steps_.size()) return 0;
    return flip(steps_[done_++], model);
}

void SelectionHistory::clear() {
    steps_.clear();
    done_ = 0;
    bytes_ = 0;
}

std::optional<std::string_view> SelectionHistory::nextUndo() const {
    if (done_ == 0) return std::nullopt;
    return steps_[done_ - 1].name;
}

std::optional<std::string_view> SelectionHistory::nextRedo() const {
    if (done_ == steps_.size()) return std::nullopt;
    return steps_[done_].name;
}

}  // namespace corvelt
