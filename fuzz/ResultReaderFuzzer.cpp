// The result-file reader on any text: the whole text parsed in one piece must give
// what the chunked, multi-threaded parse gives (the same data, or the same refusal),
// and accepted data must be what the painters rely on: every corner a node of the
// model, every coordinate and stress finite.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "AcceptedResult.h"
#include "model/ResultFileError.h"
#include "model/ResultTextParser.h"

namespace {

using corvelt::fuzz::sameBytes;
using corvelt::ParseOptions;
using corvelt::ResultData;

struct Outcome {
    std::optional<ResultData> data;
    std::string refusal;
};

Outcome parse(std::string_view text, const ParseOptions& options) {
    try {
        return {corvelt::parseResultText(text, "fuzz.txt", {}, options), {}};
    } catch (const corvelt::ResultFileError& error) {
        return {std::nullopt, error.what()};
    }
}

void require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "fuzz_result_reader: %s\n", what);
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
    const Outcome chunked = parse(text, {1 + size % 13, 3});
    require(whole.data.has_value() == chunked.data.has_value(),
            "one parse accepts what the other refuses");
    require(whole.refusal == chunked.refusal, "the two parses refuse with different messages");
    if (!whole.data) return 0;
    checkAccepted(*whole.data);
    require(sameBytes(whole.data->nodes, chunked.data->nodes), "the nodes differ");
    require(sameBytes(whole.data->connectivity, chunked.data->connectivity),
            "the connectivity differs");
    require(sameBytes(whole.data->elementStresses, chunked.data->elementStresses),
            "the stresses differ");
    return 0;
}
