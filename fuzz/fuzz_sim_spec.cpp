// Any bytes as a simulation spec (JSON): the reader, the description checks and, for small
// projects, the simulation itself.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/base/Json.h"
#include "core/sim/SimProject.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    sondara::json::Value v;
    std::string error;
    sondara::json::parse(text, v, error);
    sondara::ProjectSpec spec;
    if (!sondara::parseProjectSpec(text, spec, error)) return 0;
    int points = 0;
    for (const auto& p : spec.piles) points += p.points;
    if (points > 3) return 0;
    sondara::CSondaraDoc doc;
    std::vector<sondara::SimPointTruth> truth;
    sondara::buildProject(spec, doc, &truth, error);
    return 0;
}
