// The dialogs of Application: opening and closing them, what every control of the
// View Kit does, and the file and report requests of the selection dialogs.
#include <algorithm>
#include <array>
#include <exception>
#include <utility>

#include "app/AngleText.h"
#include "app/Application.h"
#include "app/DialogControlId.h"
#include "app/DialogTemplate.h"
#include "app/FileMessages.h"
#include "select/SelectionSets.h"

namespace corvelt {

namespace {

// The View Kit's standard views, in degrees.
struct StandardView {
    int control;
    double alphaDegrees;
    double betaDegrees;
};

constexpr std::array standardViews{
    StandardView{1027, -90.0, 90.0},     // XOY+: from +z
    StandardView{1028, -90.0, -90.0},    // XOY-: from -z
    StandardView{1029, 90.0, 0.0},       // XOZ+: from +y
    StandardView{1030, -90.0, 0.0},      // XOZ-: from -y
    StandardView{1031, 0.0, 0.0},        // YOZ+: from +x
    StandardView{1032, 180.0, 0.0},      // YOZ-: from -x
    StandardView{1033, 45.0, 35.26},     // EN+: from +x +y, above
    StandardView{1034, 45.0, -35.26},    // EN-: below
    StandardView{1035, 135.0, 35.26},    // WN+: from -x +y
    StandardView{1036, 135.0, -35.26},   // WN-
    StandardView{1037, -135.0, 35.26},   // WS+: from -x -y
    StandardView{1038, -135.0, -35.26},  // WS-
    StandardView{1039, -45.0, 35.26},    // ES+: from +x -y
    StandardView{1040, -45.0, -35.26},   // ES-
};

const StandardView* findStandardView(int control) {
    const auto found =
        std::find_if(standardViews.begin(), standardViews.end(),
                     [control](const StandardView& v) { return v.control == control; });
    return found == standardViews.end() ? nullptr : &*found;
}

}  // namespace

const DialogState* Application::dialog(DialogId id) const {
    const auto found = std::find_if(dialogs_.begin(), dialogs_.end(),
                                    [id](const DialogState& d) { return d.id == id; });
    return found == dialogs_.end() ? nullptr : &*found;
}

DialogState* Application::findDialog(DialogId id) {
    return const_cast<DialogState*>(std::as_const(*this).dialog(id));
}

const DialogState* Application::newestDialog(DialogKind kind) const {
    const auto found = std::find_if(dialogs_.rbegin(), dialogs_.rend(),
                                    [kind](const DialogState& d) { return d.kind == kind; });
    return found == dialogs_.rend() ? nullptr : &*found;
}

void Application::openDialog(DialogKind kind) {
    DialogState& opened = dialogs_.emplace_back();
    opened.id = ++lastDialogId_;
    opened.kind = kind;
    switch (kind) {
        case DialogKind::viewKit:
            state_.viewKitDialogOpen = true;
            initViewKit(opened);
            break;
        case DialogKind::selectElements:
            state_.selectElementsDialogOpen = true;
            initSelectElements(opened);
            break;
        case DialogKind::selectNodes:
            state_.selectNodesDialogOpen = true;
            initSelectNodes(opened);
            break;
        case DialogKind::legend:
            initLegend(opened);
            break;
    }
    showPlotOptionsInDialogs();
}

DialogOutcome Application::pressDialogControl(DialogId id, int control) {
    DialogState* pressed = findDialog(id);
    if (pressed == nullptr) return {};
    if (control == cancelControl) return closeDialog(id);
    DialogOutcome outcome;
    switch (pressed->kind) {
        case DialogKind::viewKit:
            outcome = pressViewKit(*pressed, control);
            break;
        case DialogKind::selectElements:
            outcome = pressSelectElements(*pressed, control);
            break;
        case DialogKind::selectNodes:
            outcome = pressSelectNodes(*pressed, control);
            break;
        case DialogKind::legend:
            outcome = pressLegend(*pressed, control);
            break;
    }
    showPlotOptionsInDialogs();
    return outcome;
}

void Application::setDialogText(DialogId id, int control, std::string text) {
    DialogState* typedInto = findDialog(id);
    if (typedInto == nullptr) return;
    if (std::string* field = typedInto->text(control)) *field = std::move(text);
}

DialogOutcome Application::closeDialog(DialogId id) {
    const auto closing = std::find_if(dialogs_.begin(), dialogs_.end(),
                                      [id](const DialogState& d) { return d.id == id; });
    const DialogKind kind = closing->kind;
    dialogs_.erase(closing);
    const bool anotherOpen = newestDialog(kind) != nullptr;
    switch (kind) {
        case DialogKind::viewKit:
            state_.viewKitDialogOpen = anotherOpen;
            break;
        case DialogKind::selectElements:
            state_.selectElementsDialogOpen = anotherOpen;
            // The red marks of the picks go with the dialog that made them.
            state_.interactionMode = InteractionMode::none;
            state_.rectanglePick = 1;
            changeFlags("Close Select Element(s)", elementPickedFlags,
                        [this] { clearElementPicks(model_); });
            requestRepaint();
            break;
        case DialogKind::selectNodes:
            state_.selectNodesDialogOpen = anotherOpen;
            // Node picks stay (and stay red) until Reset, Apply or Esc.
            state_.interactionMode = InteractionMode::none;
            state_.rectanglePick = 1;
            break;
        case DialogKind::legend:
            break;
    }
    return DialogOutcome::closed();
}

// The radios that follow their plot option wherever it changes (the menu, another
// dialog, or a dialog that opens), and the "Only Operate From Selected" boxes, which
// follow their option from any dialog of the kind.
void Application::showPlotOptionsInDialogs() {
    for (DialogState& shown : dialogs_) {
        if (shown.kind == DialogKind::selectElements) {
            shown.check(SelectElementsControl::plotAllOutlines +
                        static_cast<int>(state_.elementOutlinePlot));
            shown.setChecked(SelectElementsControl::onlyFromSelected,
                             state_.onlyFromSelectedElements);
        }
        if (shown.kind == DialogKind::selectNodes) {
            shown.check(SelectNodesControl::plotAllNodes + static_cast<int>(state_.nodePlot));
            shown.setChecked(SelectNodesControl::onlyFromSelected, state_.onlyFromSelectedNodes);
        }
    }
}

// --- View Kit.

void Application::initViewKit(DialogState& dialog) {
    dialog.alphaText = formatAngleText(state_.viewAlphaDegrees);
    dialog.betaText = formatAngleText(state_.viewBetaDegrees);
}

DialogOutcome Application::pressViewKit(DialogState& dialog, int control) {
    if (const StandardView* view = findStandardView(control)) {
        dialog.alphaText = formatAngleText(view->alphaDegrees);
        dialog.betaText = formatAngleText(view->betaDegrees);
        applyViewAngles(view->alphaDegrees, view->betaDegrees, true);
        return {};
    }
    switch (control) {
        case ViewKitControl::apply:
            // The texts stay as typed, and the view is not fitted: the model may
            // move on the screen or partly leave it.
            applyViewAngles(readAngleField(dialog.alphaText), readAngleField(dialog.betaText),
                            false);
            break;
        case ViewKitControl::all:
            fitView();
            break;
        case ViewKitControl::pan:
            setInteractionMode(InteractionMode::pan);
            break;
        case ViewKitControl::zoom:
            setInteractionMode(InteractionMode::zoomBox);
            break;
        case ViewKitControl::exit:
            return closeDialog(dialog.id);
        default:
            break;
    }
    return {};
}

// --- Files and reports of the selection dialogs.

DialogOutcome Application::requestSelectionFile(DialogState& dialog, bool save) {
    const bool elements = dialog.kind == DialogKind::selectElements;
    FileRequest request;
    request.save = save;
    request.title = save ? selectionWriteTitle : selectionReadTitle;
    request.filter = resultFileFilter;
    request.startPath = elements ? state_.elementSelectionFileName : state_.nodeSelectionFileName;
    dialog.fileRequest = request;
    return DialogOutcome::chooseFile(request);
}

DialogOutcome Application::answerFileRequest(DialogId id,
                                             const std::optional<std::filesystem::path>& path) {
    DialogState* asking = findDialog(id);
    if (asking == nullptr || !asking->fileRequest) return {};
    const bool save = asking->fileRequest->save;
    asking->fileRequest.reset();
    if (!path) return {};
    const ItemKind kind =
        asking->kind == DialogKind::selectElements ? ItemKind::elements : ItemKind::nodes;
    DialogOutcome done;
    try {
        done.status = save ? selectionWrittenText(kind, writeSelectionFile(kind, *path), *path)
                           : selectionReadText(kind, readSelectionFile(kind, *path), *path);
    } catch (const std::exception& error) {
        return DialogOutcome::showMessage(error.what());
    }
    return done;
}

DialogOutcome Application::listStresses(ItemKind kind) const {
    try {
        DialogOutcome written = DialogOutcome::openReport(writeStressReport(kind));
        written.status = listingWrittenText(written.path);
        return written;
    } catch (const std::exception& error) {
        return DialogOutcome::showMessage(error.what());
    }
}

}  // namespace corvelt
