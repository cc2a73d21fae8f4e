#include "formats/ResultFileFormats.h"

#include <system_error>

#include "base/RegularFile.h"
#include "formats/FrdReader.h"
#include "model/ResultFileReader.h"

namespace corvelt {

namespace {

// The first bytes of the file; none when it cannot be read, so that our own
// reader reports that as it always has.
std::string startOf(const std::filesystem::path& path) {
    try {
        const RegularFile file(path);
        std::vector<char> buffer;
        return std::string(file.read(0, 16, buffer));
    } catch (const std::exception&) {
        return {};
    }
}

std::string elementsText(std::int64_t count) {
    return std::to_string(count) + (count == 1 ? " element" : " elements");
}

std::vector<std::string> frdFacts(const FrdFacts& facts, std::size_t elements) {
    std::vector<std::string> lines{"format: CalculiX results (.frd)",
                                   "steps: " + std::to_string(facts.stepCount),
                                   "stresses of step: " + std::to_string(facts.stressStep)};
    if (facts.elementsAgainstNormal == 0)
        lines.push_back("first stress lines on the side of the normal: all " +
                        elementsText(static_cast<std::int64_t>(elements)));
    else
        lines.push_back("first stress lines against the normal: " +
                        std::to_string(facts.elementsAgainstNormal) + " of " +
                        elementsText(static_cast<std::int64_t>(elements)) + ", the first element " +
                        std::to_string(facts.firstElementAgainstNormal));
    return lines;
}

}  // namespace

ResultFile readResultFileOfAnyFormat(const std::filesystem::path& path,
                                     const ReadProgress& progress) {
    if (!looksLikeFrd(startOf(path))) return {readResultFile(path, progress), {}, {}};
    FrdResult frd = readFrdFile(path, progress);
    ResultFile file;
    file.facts = frdFacts(frd.facts, frd.data.elementStresses.size());
    if (frd.facts.elementsAgainstNormal > 0)
        file.warning =
            path.string() + ": on " + std::to_string(frd.facts.elementsAgainstNormal) + " of " +
            elementsText(static_cast<std::int64_t>(frd.data.elementStresses.size())) +
            " (the first is element " + std::to_string(frd.facts.firstElementAgainstNormal) +
            ") the first stress line of a corner, the face of brick nodes 5 to 8, "
            "lies against the normal of the rebuilt shell: there the contour shows "
            "each surface's stress on the other side";
    file.data = std::move(frd.data);
    return file;
}

}  // namespace corvelt
