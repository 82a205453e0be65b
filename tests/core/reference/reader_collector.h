// A reference reader for tests that keeps what it hands back.
#pragma once

#include "reference/reader.h"

#include <string>
#include <vector>

namespace quintor::test {

struct Collector {
    std::vector<TGameEntry> games;
    std::vector<std::string> versions;
    ReferenceReader reader;

    explicit Collector(bool tagparse = false, const TextList& syno = TextList())
        : reader(tagparse, syno,
                 {[this](TGameEntry&& entry) { games.push_back(std::move(entry)); },
                  [this](const std::string& version) { versions.push_back(version); }})
    {
    }
    Collector(const Collector&) = delete; // the callbacks point at this object
    Collector& operator=(const Collector&) = delete;
};

// One reply, read and finished.
inline std::vector<TGameEntry> readAll(const std::string& reply, bool tagparse = false,
                                       const TextList& syno = TextList())
{
    Collector collector(tagparse, syno);
    collector.reader.read(reply);
    collector.reader.finish();
    return std::move(collector.games);
}

} // namespace quintor::test
