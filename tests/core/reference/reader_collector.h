// A reference reader for tests that keeps what it hands back.
#pragma once

#include "reference/reader.h"

#include <string>
#include <utility>
#include <vector>

namespace quintor::test {

struct Collector {
    std::vector<GameRecord> games;
    std::vector<std::string> versions;
    std::vector<std::pair<std::string, std::string>> skipped; // title, message
    ReferenceReader reader;

    explicit Collector(bool tagparse = false, const TextList& aliases = TextList())
        : reader(
              tagparse, aliases,
              {[this](GameRecord&& entry) { games.push_back(std::move(entry)); },
               [this](const std::string& version) { versions.push_back(version); },
               [this](const std::string& title, const std::string& message) { skipped.emplace_back(title, message); }})
    {
    }
    Collector(const Collector&) = delete; // the callbacks point at this object
    Collector& operator=(const Collector&) = delete;
};

// One reply, read and finished.
inline std::vector<GameRecord> readAll(const std::string& reply, bool tagparse = false,
                                       const TextList& aliases = TextList())
{
    Collector collector(tagparse, aliases);
    collector.reader.read(reply);
    collector.reader.finish();
    return std::move(collector.games);
}

} // namespace quintor::test
