#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/AppState.h"
#include "app/ArrowKey.h"
#include "app/DialogOutcome.h"
#include "app/DialogState.h"
#include "app/ElementLocator.h"
#include "app/MenuCommands.h"
#include "app/MouseDrag.h"
#include "app/PreparedResult.h"
#include "app/Probe.h"
#include "app/WheelAccumulator.h"
#include "formats/ExportFormat.h"
#include "formats/ExportProgress.h"
#include "model/ResultFileReader.h"
#include "model/ShellModel.h"
#include "render/FramePainter.h"
#include "render/RubberBands.h"
#include "select/ItemKind.h"
#include "select/SelectionFile.h"
#include "select/SelectionHistory.h"
#include "view/ViewCamera.h"

namespace corvelt {

class Canvas;

// The application without its window: the state, the model, the camera and the
// painter, and every operation the window performs on them. The Qt window and the
// batch mode translate their input into these calls and hold no behaviour of
// their own. Operations that change the picture mark a repaint as due; the shell
// redraws (calls paint) when it takes that mark.
class Application {
  public:
    // The client size assumed until the first resize. A window always sends its
    // real size before it first paints; the batch mode starts with this one.
    static constexpr std::int32_t defaultClientWidth = 800;
    static constexpr std::int32_t defaultClientHeight = 600;
    static constexpr std::string_view defaultResultFile = "Shell_AverageStrs.txt";
    // The View Kit angles the first model is shown at.
    static constexpr double startAlphaDegrees = 45.0;
    static constexpr double startBetaDegrees = 35.26;

    // The state of a freshly created window: start values, no model loaded, the
    // start angles applied to the camera, the default client size.
    Application();

    // --- Loading. A file is read into fresh data and adopted only when it was read
    // completely, so a refused file leaves the model, the view and the selection
    // exactly as they were. Reading and preparing may run on another thread, with
    // the settings taken on this one; adopting is then quick.

    LoadSettings loadSettings() const;
    // Reads the file, of our own format or CalculiX results (.frd), recognised by
    // its content, and makes it ready to show. Touches no application, so it is
    // safe on any thread; progress is told from the calling thread, from 0 to 1
    // over the read and the preparation, and when it returns false the work stops
    // with ReadCancelled. Throws ResultFileError.
    static PreparedResult prepareFile(const std::filesystem::path& path,
                                      const LoadSettings& settings,
                                      const ReadProgress& progress = {});
    // The same for data at hand; progress runs from `start` to 1. Throws
    // std::invalid_argument for data without nodes or with corners out of range.
    static PreparedResult prepareResult(ResultData&& data, const LoadSettings& settings,
                                        const ReadProgress& progress = {}, double start = 0.0);
    // Makes it the model (everything selected, nothing picked), keeps the plot
    // options, shows it at the stored View Kit angles and fits it. Quick unless the
    // client size or the stored angles changed since the settings were taken.
    void adoptPrepared(PreparedResult&& prepared, const std::filesystem::path& path);

    // prepareResult and adoptPrepared in one call. Throws std::invalid_argument,
    // changing nothing.
    void adoptFile(ResultData&& data, const std::filesystem::path& path);
    // prepareFile and adoptPrepared in one call. Throws ResultFileError, changing
    // nothing. Returns what the reader warns of in the file; empty when nothing.
    std::string openFile(const std::filesystem::path& path, const ReadProgress& progress = {});

    // --- Menu. Ids of the main menu (CommandId.h, MenuTable.h) and of the window's
    // added items (AddedMenuItems.h). View Kit, Select Element(s) and Select Node(s)
    // open one more dialog of their kind each time. Turn Mode sets mode none and drops
    // a gesture under way; Undo and Redo step through the history below.
    CommandOutcome command(int id);
    bool isChecked(int id) const;

    // --- Window.
    // A new client size: the whole model is fitted again (pan and zoom are reset).
    void resize(std::int32_t width, std::int32_t height);
    // Draws one frame as the window shows it: background, the model while one is
    // loaded, and the rubber band of a gesture under way. On a high-resolution
    // screen the canvas has pixelRatio device pixels per client pixel (its size is
    // the client size times that): the picture is drawn at that resolution, with
    // every pixel size of the drawing grown by the ratio, while clicks, picks and
    // the probe stay in client pixels. A ratio of 1 is the plain picture. Returns
    // the number of the frame now on the canvas. Given the number of the frame that
    // the canvas still holds, and it is the last one painted, a repaint at ratio 1
    // after nothing but picks and moves of the rubber band draws only the rows that
    // they change.
    std::uint64_t paint(Canvas& canvas, double pixelRatio = 1.0,
                        std::optional<std::uint64_t> canvasHolds = std::nullopt);

    // --- Input, in client pixels.
    void leftButtonDown(std::int32_t x, std::int32_t y);
    void mouseMove(std::int32_t x, std::int32_t y);
    // Zooms by 1.1 per notch about the cursor in modes none, pan and zoom box.
    void wheel(std::int32_t delta, std::int32_t x, std::int32_t y);
    void keyDown(ArrowKey key);

    // --- Drags, beside the clicks above. In mode none the left button turns the
    // model about its centre as the arrow keys do (dragPixelsPerArrowStep pixels per
    // key step); in every mode the middle button pans. The left press is also the
    // click of leftButtonDown, so a press without a move stays a plain click.
    void buttonDown(MouseButton button, std::int32_t x, std::int32_t y);
    void buttonUp(MouseButton button, std::int32_t x, std::int32_t y);
    // The button of the drag under way, if any.
    std::optional<MouseButton> dragButton() const;
    // A, O, P, Z in either case, and escapeCharacter; other characters do nothing.
    void character(char32_t c);

    // --- The probe: what lies under a pixel of the client area, as a point pick
    // finds the element; none outside the client area or the model. Quick once the
    // view's element grid is built, which the first probe after a change of the view
    // does unless prepareProbe did it before.
    std::optional<ProbeReading> probe(std::int32_t x, std::int32_t y);
    void prepareProbe();

    // --- View.
    // Stores the View Kit angles (degrees), shows the model from them and, when
    // asked, fits it into the window.
    void applyViewAngles(double alphaDegrees, double betaDegrees, bool fit);
    void fitView();  // the whole model into the window, angles unchanged

    // --- What the selection dialogs set.
    void setInteractionMode(InteractionMode mode);  // keeps a gesture under way
    void setRectanglePick(bool rectangle);
    // The box of every open dialog of the kind shows the option.
    void setOnlyFromSelectedElements(bool only);
    void setOnlyFromSelectedNodes(bool only);

    // --- Selection list files and stress listings. The path of a selection file
    // is remembered as the kind's selection file name before the file is touched,
    // so the next file dialog starts there even after a failure.
    // Returns how many indices it wrote. Throws SelectionFileError, changing no
    // selection.
    std::int64_t writeSelectionFile(ItemKind kind, const std::filesystem::path& path);
    // Replaces the kind's selection by the file's; repaints. Returns how many items it
    // selected and skipped. Throws SelectionFileError, changing no selection.
    SelectionListCounts readSelectionFile(ItemKind kind, const std::filesystem::path& path);
    // Writes the kind's stress listing under its fixed name into `directory` (the
    // working directory when empty) and returns its path. Throws StressReportError.
    std::filesystem::path writeStressReport(ItemKind kind,
                                            const std::filesystem::path& directory = {}) const;

    // --- Exports of the selected elements (formats/VtuWriter.h, formats/CsvWriter.h),
    // replacing the file atomically. Reads the model and nothing else, so it may run
    // on another thread while this one changes nothing; progress is told from the
    // calling thread. Throws ExportError, whose message names the file and the
    // reason, or ExportCancelled when progress returned false; either way the file
    // is as it was.
    void exportSelection(ExportFormat format, const std::filesystem::path& path,
                         const ExportProgress& progress = {}) const;

    // --- Dialogs (DialogTemplate.h, DialogControlId.h). Several of a kind may be
    // open, each showing its own state; a dialog closes itself (Exit or
    // cancelControl), and only that one closes. The outline radios of every open
    // Select Element(s) dialog and the node-marker radios of every open Select
    // Node(s) dialog always show their plot option.
    const std::vector<DialogState>& dialogs() const { return dialogs_; }  // oldest first
    const DialogState* dialog(DialogId id) const;
    const DialogState* newestDialog(DialogKind kind) const;
    // Presses a push button, radio button or check box, or cancelControl (Esc, the
    // close box). Ids the dialog does not have, and dialogs that are closed, do
    // nothing.
    DialogOutcome pressDialogControl(DialogId id, int control);
    // What the user typed into an edit field; nothing else happens until Apply.
    void setDialogText(DialogId id, int control, std::string text);
    // The answer to DialogAction::chooseFile: the chosen path, or none when the user
    // cancelled (which changes nothing).
    DialogOutcome answerFileRequest(DialogId id, const std::optional<std::filesystem::path>& path);
    // What the window asks the user before it presses the control, or none: List
    // Stresses with nothing of its kind selected ("No element is selected. Write an
    // empty listing?"). A press without the question (the batch mode) writes the
    // listing all the same.
    std::optional<std::string> questionBeforePress(DialogId id, int control) const;

    // --- The legend. The window restores its options from its settings; scripts
    // and the Legend dialog change them. The options must be valid (LegendFields.h
    // reads what users type); a change repaints.
    const LegendOptions& legendOptions() const { return state_.legend; }
    void setLegendOptions(const LegendOptions& options);
    // What the legend of the next frame shows, its limits exactly as drawn.
    ContourScale legendScale() const;

    // --- Undo and redo of the selected and picked flags: every operation that
    // changes them is one step, named after it ("Invert", "Apply (Reselect)", "Pick");
    // one that changes nothing is none. Opening a file forgets every step.
    const SelectionHistory& history() const { return history_; }
    // Edit > Undo and Redo as the menu shows them: "Undo Invert", or "Undo" alone
    // when there is nothing to undo.
    std::string undoText() const;
    std::string redoText() const;

    // --- Repaint requests.
    bool repaintDue() const { return repaintDue_; }
    // Returns whether a repaint was due and clears the mark.
    bool takeRepaintDue();

    // Internal faults of the contour arithmetic over all frames so far (see
    // FramePainter::internalErrorCount); the window reports a rise once.
    std::int64_t internalErrorCount() const { return painter_.internalErrorCount(); }

    const AppState& state() const { return state_; }
    const ShellModel& model() const { return model_; }
    const ViewCamera& camera() const { return camera_; }

  private:
    void requestRepaint() {
        repaintDue_ = true;
        wholeFrameDue_ = true;
    }
    // For changes of picked flags and of the rubber band alone.
    void requestPickRepaint() { repaintDue_ = true; }
    bool paintPickChanges(Canvas& canvas);
    void paintWholeFrame(Canvas& canvas, double pixelRatio);
    std::optional<RectangleOverlay> overlay() const;
    void showAtStoredAngles(bool fit);
    void clickInPanMode(int stage, std::int32_t x, std::int32_t y);
    void clickInZoomBoxMode(int stage, std::int32_t x, std::int32_t y);
    void clickInPickMode(int stage, std::int32_t x, std::int32_t y);
    void pickAtPoint(std::int32_t x, std::int32_t y);
    void pickInRectangle();
    void rotate(ArrowKey key);
    void dragTo(std::int32_t x, std::int32_t y);
    void clearPicksOfMode();
    void turnMode();
    // Runs a change of the flags of some arrays (FlagArrays) as one step of the history.
    void changeFlags(std::string_view name, unsigned arrays, const std::function<void()>& change);
    bool stepHistory(bool forward);  // whether a step was taken

    DialogState* findDialog(DialogId id);
    void openDialog(DialogKind kind);
    void initViewKit(DialogState& dialog);
    void initSelectElements(DialogState& dialog);
    void initSelectNodes(DialogState& dialog);
    DialogOutcome pressViewKit(DialogState& dialog, int control);
    DialogOutcome pressSelectElements(DialogState& dialog, int control);
    DialogOutcome pressSelectNodes(DialogState& dialog, int control);
    void initLegend(DialogState& dialog);
    DialogOutcome pressLegend(DialogState& dialog, int control);
    DialogOutcome closeDialog(DialogId id);
    DialogOutcome requestSelectionFile(DialogState& dialog, bool save);
    DialogOutcome listStresses(ItemKind kind) const;
    void showPlotOptionsInDialogs();

    AppState state_;
    ShellModel model_;
    ViewCamera camera_;
    FramePainter painter_;
    WheelAccumulator wheel_;
    std::optional<MouseDrag> drag_;
    ElementLocator locator_;
    std::vector<DialogState> dialogs_;
    SelectionHistory history_;
    DialogId lastDialogId_ = 0;
    bool repaintDue_ = false;

    // What the last frame showed, for repainting only what picks change.
    std::uint64_t frameNumber_ = 0;
    bool wholeFrameDue_ = true;
    bool shownWithModel_ = false;
    std::vector<std::uint8_t> shownElementPicks_;
    std::vector<std::uint8_t> shownNodePicks_;
    std::optional<RectangleOverlay> shownOverlay_;
};

}  // namespace corvelt
