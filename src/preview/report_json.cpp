#include <nlohmann/json.hpp>

#include "preview/report.h"

namespace vw::preview {

namespace {

void Line(const nlohmann::json& object, std::ostream& out) {
    // Names that are no UTF-8 must not lose the line.
    out << object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
}

}  // namespace

void WriteJsonReport(const PreviewResult& result, std::ostream& out) {
    for (const Change& c : result.log.Changes()) {
        nlohmann::json line = {{"step", c.step},
                               {"item", ItemName(c.step)},
                               {"action", c.action},
                               {"target", c.target}};
        if (c.bytes) line["bytes"] = *c.bytes;
        if (c.count) line["count"] = *c.count;
        if (c.value) line["value"] = *c.value;
        if (c.attributes) line["attributes"] = *c.attributes;
        Line(line, out);
    }
    for (const Box& box : result.log.Boxes()) {
        Line({{"step", box.step},
              {"item", ItemName(box.step)},
              {"box", box.text},
              {"caption", box.caption},
              {"type", box.type}},
             out);
    }
    nlohmann::json end = {{"end", result.ended ? "ended" : "complete"}};
    std::vector<int> on;
    for (std::size_t i = 0; i < result.switchedOn.size(); ++i) {
        if (result.switchedOn[i]) on.push_back(static_cast<int>(i) + 1);
    }
    end["on"] = on;
    if (result.ended) {
        end["step"] = result.endStep;
        end["item"] = ItemName(result.endStep);
        end["error"] = result.ended->Number();
        end["text"] = result.ended->what();
    }
    Line(end, out);
}

}  // namespace vw::preview
