#include "app/DialogState.h"

#include <algorithm>

#include "app/DialogControlId.h"
#include "app/DialogTemplate.h"

namespace corvelt {

bool DialogState::isChecked(int control) const {
    return std::binary_search(checked.begin(), checked.end(), control);
}

void DialogState::check(int control) {
    const DialogControl* pressed = findControl(kind, control);
    if (pressed != nullptr && pressed->radioGroup != 0) {
        for (const ControlGroup& group : dialogTemplate(kind).groups)
            for (const DialogControl& other : group.controls)
                if (other.radioGroup == pressed->radioGroup) setChecked(other.id, false);
    }
    setChecked(control, true);
}

void DialogState::setChecked(int control, bool on) {
    const auto place = std::lower_bound(checked.begin(), checked.end(), control);
    const bool present = place != checked.end() && *place == control;
    if (on && !present) checked.insert(place, control);
    if (!on && present) checked.erase(place);
}

std::string* DialogState::text(int control) {
    if (kind == DialogKind::viewKit) {
        if (control == ViewKitControl::alphaEdit) return &alphaText;
        if (control == ViewKitControl::betaEdit) return &betaText;
        return nullptr;
    }
    for (auto& [id, text] : fieldTexts)
        if (id == control) return &text;
    const DialogControl* field = findControl(kind, control);
    if (field == nullptr || field->kind != ControlKind::edit) return nullptr;
    return &fieldTexts.emplace_back(control, std::string()).second;
}

const std::string* DialogState::text(int control) const {
    if (kind == DialogKind::viewKit) return const_cast<DialogState*>(this)->text(control);
    for (const auto& [id, text] : fieldTexts)
        if (id == control) return &text;
    return nullptr;
}

}  // namespace corvelt
