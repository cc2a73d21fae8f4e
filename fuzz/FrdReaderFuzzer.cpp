// The .frd reader on any text: the whole text read in one piece must give what
// tiny chunks on several threads give (the same data and facts, or the same
// refusal), and accepted data must be what the painters rely on: every corner a
// node of the model, every coordinate and stress finite.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "AcceptedResult.h"
#include "formats/FrdReader.h"

namespace {

using corvelt::fuzz::sameBytes;
using corvelt::FrdParseOptions;
using corvelt::FrdResult;

struct Outcome {
    std::optional<FrdResult> result;
    std::string refusal;
};

Outcome parse(std::string_view text, const FrdParseOptions& options) {
    try {
        return {corvelt::parseFrdText(corvelt::InMemoryText(text), "fuzz.frd", {}, options), {}};
    } catch (const corvelt::ResultFileError& error) {
        return {std::nullopt, error.what()};
    }
}

void require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "fuzz_frd_reader: %s\n", what);
    std::abort();
}

void checkAccepted(const corvelt::ResultData& data) {
    const char* fault = corvelt::fuzz::faultOfAccepted(data);
    require(fault == nullptr, fault);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(bytes), size);
    const Outcome whole = parse(text, {std::size_t{1} << 30, 1});
    // Tiny chunks, varied with the input, so that the joins fall everywhere.
    const Outcome chunked = parse(text, {1 + size % 61, 3});
    // Every line read: it may refuse what jumping over records lets pass (lines in
    // blocks that are not read), but what both accept is the same.
    const Outcome everyLine = parse(text, {1 + size % 61, 3, true});
    if (whole.result && everyLine.result)
        require(
            sameBytes(whole.result->data.elementStresses, everyLine.result->data.elementStresses) &&
                sameBytes(whole.result->data.nodes, everyLine.result->data.nodes),
            "reading every line gives other data");
    require(whole.result.has_value() == chunked.result.has_value(),
            "one parse accepts what the other refuses");
    require(whole.refusal == chunked.refusal, "the two parses refuse with different messages");
    if (!whole.result) return 0;
    checkAccepted(whole.result->data);
    require(sameBytes(whole.result->data.nodes, chunked.result->data.nodes), "the nodes differ");
    require(sameBytes(whole.result->data.connectivity, chunked.result->data.connectivity),
            "the connectivity differs");
    require(sameBytes(whole.result->data.elementStresses, chunked.result->data.elementStresses),
            "the stresses differ");
    require(whole.result->facts.stepCount == chunked.result->facts.stepCount &&
                whole.result->facts.elementsAgainstNormal ==
                    chunked.result->facts.elementsAgainstNormal,
            "the facts differ");
    return 0;
}
