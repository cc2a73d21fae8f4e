#include "app/BatchRunner.h"

#include <exception>
#include <istream>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <system_error>

#include "app/Application.h"
#include "app/DialogTemplate.h"
#include "app/FrameSink.h"
#include "app/StateDump.h"
#include "base/AtomicFile.h"

namespace corvelt {

namespace {

// Replaced all at once: a full disk or a pipe must not leave a cut-off document
// where a whole one was.
void writeState(const Application& app, const std::filesystem::path& path,
                const ProbeAtPixel* probe) {
    try {
        AtomicFile file(path);
        std::ostringstream text;
        writeStateJson(text, app, probe);
        file.write(text.view());
        // A state can be made again by running the script again.
        file.commit(AtomicFile::Durability::cached);
    } catch (const std::system_error& error) {
        throw std::runtime_error("cannot write the state file " + path.string() + ": " +
                                 error.code().message());
    }
}

enum class LineRead { line, end, tooLong };

// std::getline without its unbounded growth: a line longer than maxBatchLineBytes
// (a stream without line ends, say /dev/zero) is not read to its end.
LineRead readLine(std::istream& in, std::string& line) {
    line.clear();
    std::streambuf& source = *in.rdbuf();
    for (;;) {
        const int c = source.sbumpc();
        if (c == std::char_traits<char>::eof()) {
            in.setstate(std::ios::eofbit);
            return line.empty() ? LineRead::end : LineRead::line;
        }
        if (c == '\n') return LineRead::line;
        if (line.size() == maxBatchLineBytes) return LineRead::tooLong;
        line.push_back(static_cast<char>(c));
    }
}

const DialogState& newestOpenDialog(const Application& app, DialogKind kind) {
    const DialogState* newest = app.newestDialog(kind);
    if (newest == nullptr)
        throw BatchLineError("no \"" + std::string(dialogTemplate(kind).caption) +
                             "\" dialog is open");
    return *newest;
}

// A script cannot see a message box: a failed operation stops it with the message.
void failOnMessage(const DialogOutcome& outcome) {
    if (outcome.action == DialogAction::showMessage) throw BatchLineError(outcome.message);
}

void pressButton(Application& app, const ButtonLine& line, FileAnswers& answers) {
    const DialogId id = newestOpenDialog(app, line.dialog).id;
    const DialogOutcome outcome = app.pressDialogControl(id, line.control);
    failOnMessage(outcome);
    // A written report is not shown: the batch mode opens no editor.
    if (outcome.action != DialogAction::chooseFile) return;
    if (answers.empty()) {
        app.answerFileRequest(id, std::nullopt);
        throw BatchLineError("button " + std::to_string(line.control) +
                             " opens a file dialog; answer it first with file PATH or file cancel");
    }
    const std::optional<std::filesystem::path> answer = answers.front();
    answers.pop_front();
    failOnMessage(app.answerFileRequest(id, answer));
}

// One overload per line kind, each a thin call into the application.
struct LineRunner {
    Application& app;
    FrameSink* frames;
    BatchSession& session;

    void operator()(const OpenLine& line) const { session.warning = app.openFile(line.path); }
    void operator()(const SizeLine& line) const { app.resize(line.width, line.height); }
    void operator()(const CommandLine& line) const { app.command(line.id); }
    void operator()(const ViewLine& line) const {
        app.applyViewAngles(line.alphaDegrees, line.betaDegrees, true);
    }
    void operator()(const RenderLine& line) const {
        if (frames == nullptr) throw BatchLineError("render is not available in this build");
        frames->writePng(app, line.path);
    }
    void operator()(const KeyLine& line) const { app.keyDown(line.key); }
    void operator()(const CharacterLine& line) const { app.character(line.character); }
    void operator()(const ClickLine& line) const { app.leftButtonDown(line.x, line.y); }
    void operator()(const MoveLine& line) const { app.mouseMove(line.x, line.y); }
    void operator()(const DragLine& line) const {
        app.buttonDown(line.button, line.x1, line.y1);
        app.mouseMove(line.x2, line.y2);
        app.buttonUp(line.button, line.x2, line.y2);
    }
    void operator()(const WheelLine& line) const { app.wheel(line.delta, line.x, line.y); }
    void operator()(const ProbeLine& line) const {
        session.probe = ProbeAtPixel{{line.x, line.y}, app.probe(line.x, line.y)};
    }
    void operator()(const StateLine& line) const {
        writeState(app, line.path, session.probe ? &*session.probe : nullptr);
        session.probe.reset();
    }
    void operator()(const SelectionFileLine& line) const {
        if (line.write)
            app.writeSelectionFile(line.kind, line.path);
        else
            app.readSelectionFile(line.kind, line.path);
    }
    void operator()(const ReportLine& line) const { app.writeStressReport(line.kind); }
    void operator()(const ExportLine& line) const { app.exportSelection(line.format, line.path); }
    void operator()(const ButtonLine& line) const { pressButton(app, line, session.fileAnswers); }
    void operator()(const TextLine& line) const {
        app.setDialogText(newestOpenDialog(app, line.dialog).id, line.control, line.text);
    }
    void operator()(const LegendLine& line) const {
        LegendOptions options = app.legendOptions();
        line.applyTo(options);
        app.setLegendOptions(options);
    }
    void operator()(const FileLine& line) const {
        if (line.path)
            session.fileAnswers.emplace_back(std::filesystem::path(*line.path));
        else
            session.fileAnswers.emplace_back(std::nullopt);
    }
};

}  // namespace

void runBatchCommand(const BatchCommand& command, Application& app, FrameSink* frames,
                     BatchSession& session) {
    std::visit(LineRunner{app, frames, session}, command);
    // Nothing shows the frames between lines; render paints on demand.
    app.takeRepaintDue();
}

std::optional<BatchFailure> runBatch(std::istream& script, Application& app, FrameSink* frames,
                                     const BatchWarnings& warnings) {
    std::string text;
    text.reserve(maxBatchLineBytes);
    BatchSession session;
    for (std::int64_t number = 1;; ++number) {
        const LineRead read = readLine(script, text);
        if (read == LineRead::end) break;
        if (read == LineRead::tooLong) return BatchFailure{number, "line too long"};
        try {
            if (const std::optional<BatchCommand> command = parseBatchLine(text))
                runBatchCommand(*command, app, frames, session);
            if (!session.warning.empty() && warnings) warnings(number, session.warning);
            session.warning.clear();
        } catch (const std::exception& error) {
            return BatchFailure{number, error.what()};
        }
    }
    if (script.bad()) return BatchFailure{0, "the script could not be read to its end"};
    return std::nullopt;
}

int runBatchScript(std::istream& script, std::string_view scriptName, FrameSink* frames,
                   std::ostream& errors) {
    Application app;
    const std::optional<BatchFailure> failure =
        runBatch(script, app, frames, [&](std::int64_t line, const std::string& message) {
            errors << scriptName << ':' << line << ": warning: " << message << '\n';
        });
    if (!failure) return 0;
    errors << scriptName << ':';
    if (failure->line > 0) errors << failure->line << ':';
    errors << ' ' << failure->message << '\n';
    return 1;
}

}  // namespace corvelt
