// The legend's options in Application: what its dialog shows and what Apply takes.
#include <exception>
#include <string>

#include "app/Application.h"
#include "app/DialogControlId.h"
#include "app/DialogTemplate.h"
#include "app/LegendFields.h"
#include "base/NumberFormat.h"
#include "render/ContourValues.h"

namespace corvelt {

namespace {

int formatControl(LegendNumberFormat format) {
    return LegendControl::generalFormat + static_cast<int>(format);
}

// The dialog's fields and choices read as options; LegendValueError names the field
// that cannot be taken in `faulty`.
LegendOptions optionsOf(const DialogState& dialog, const LegendOptions& current, int& faulty) {
    const auto field = [&](int control) { return *dialog.text(control); };
    LegendOptions options = current;
    faulty = LegendControl::bandsEdit;
    options.bands = readBandCount(field(LegendControl::bandsEdit));
    options.range = dialog.isChecked(LegendControl::fixedRange) ? LegendRange::fixed
                                                                : LegendRange::automatic;
    // The bounds of an automatic range are kept as they were when they cannot be read.
    if (options.fixedRange()) {
        faulty = LegendControl::minEdit;
        options.fixedMin = readBound(field(LegendControl::minEdit), "Min");
        faulty = LegendControl::maxEdit;
        options.fixedMax = readBound(field(LegendControl::maxEdit), "Max");
        faulty = LegendControl::minEdit;
        checkFixedRange(options.fixedMin, options.fixedMax);
    }
    options.format = LegendNumberFormat::general;
    if (dialog.isChecked(LegendControl::fixedFormat)) options.format = LegendNumberFormat::fixed;
    if (dialog.isChecked(LegendControl::scientificFormat))
        options.format = LegendNumberFormat::scientific;
    faulty = LegendControl::digitsEdit;
    options.digits = readDigits(field(LegendControl::digitsEdit));
    faulty = 0;
    options.title = dialog.isChecked(LegendControl::title);
    options.units = field(LegendControl::unitsEdit);
    options.backing = dialog.isChecked(LegendControl::backing);
    return options;
}

}  // namespace

void Application::setLegendOptions(const LegendOptions& options) {
    if (options == state_.legend) return;
    state_.legend = options;
    requestRepaint();
}

ContourScale Application::legendScale() const {
    if (!isStressQuantity(model_.contourComponent))
        return contourScale(std::nullopt, state_.legend);
    // The same values and rule as the painter's, worked out afresh.
    ContourValueCache values;
    return contourScale(selectedRange(values.valuesFor(model_, model_.contourComponent,
                                                       model_.contourFace),
                                      model_.elementSelected),
                        state_.legend);
}

void Application::initLegend(DialogState& dialog) {
    const LegendOptions& options = state_.legend;
    *dialog.text(LegendControl::bandsEdit) = std::to_string(options.bands);
    *dialog.text(LegendControl::minEdit) = formatShortest(options.fixedMin);
    *dialog.text(LegendControl::maxEdit) = formatShortest(options.fixedMax);
    *dialog.text(LegendControl::digitsEdit) = std::to_string(options.digits);
    *dialog.text(LegendControl::unitsEdit) = options.units;
    dialog.check(options.fixedRange() ? LegendControl::fixedRange
                                      : LegendControl::automaticRange);
    dialog.check(formatControl(options.format));
    dialog.setChecked(LegendControl::title, options.title);
    dialog.setChecked(LegendControl::backing, options.backing);
}

DialogOutcome Application::pressLegend(DialogState& dialog, int control) {
    switch (control) {
        case LegendControl::title:
        case LegendControl::backing:
            dialog.setChecked(control, !dialog.isChecked(control));
            return {};
        case LegendControl::apply: {
            // All or nothing: a field that cannot be taken says why and changes nothing.
            int faulty = 0;
            try {
                const LegendOptions options = optionsOf(dialog, state_.legend, faulty);
                dialog.message.clear();
                dialog.faultyField = 0;
                setLegendOptions(options);
                initLegend(dialog);
            } catch (const LegendValueError& error) {
                dialog.message = error.what();
                dialog.faultyField = faulty;
            }
            return {};
        }
        case LegendControl::close:
            return closeDialog(dialog.id);
        default:
            // A radio button of the range or the format: shown, taken by Apply.
            if (findControl(DialogKind::legend, control) != nullptr) dialog.check(control);
            return {};
    }
}

}  // namespace corvelt
