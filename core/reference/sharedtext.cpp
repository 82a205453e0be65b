#include "reference/sharedtext.h"
#include "reference/textwords.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <mutex>
#include <ostream>
#include <vector>

namespace quintor {

// The values this thread made last, one per slot of a hash: a value that comes again (the next game's version, the
// same server) takes the slot's copy. A slot holds one reference, so the cache never keeps more than its slots. Enough
// slots for the values a league's games share (the resources' file names and authors most of all): a refresh of 1,000
// games makes about a hundred new copies rather than a thousand, and lets as few go cold at the next.
struct SharedTextCache {
    static constexpr std::size_t kSlots = 4096;
    std::array<SharedText::Node*, kSlots> slots{};

    ~SharedTextCache()
    {
        for (SharedText::Node*& node : slots) {
            SharedText text;
            text.node_ = node; // released with the text
            node = nullptr;
        }
    }

    // From the length and the first and last eight bytes (of a shorter text, its shortTextWord): quick, and enough to
    // tell a slot's few values apart (two values in one slot only cost a copy). Never asked for "", which has no slot.
    static std::size_t slotOf(std::string_view text) noexcept
    {
        const char* const data = text.data();
        const std::size_t size = text.size();
        std::uint64_t head = 0, tail = 0;
        if (size >= 8) {
            std::memcpy(&head, data, 8);
            std::memcpy(&tail, data + size - 8, 8);
        } else {
            head = shortTextWord(data, size);
        }
        const std::uint64_t hash = (head * 0x9E3779B97F4A7C15ull) ^ (tail * 0xC2B2AE3D27D4EB4Full) ^ size;
        return static_cast<std::size_t>((hash ^ (hash >> 29)) >> 3) % kSlots;
    }
};

namespace {

// Longer texts are rarely alike (an address, a comment): they are kept as they come.
constexpr std::size_t kLongestShared = 64;

SharedTextCache& cache()
{
    thread_local SharedTextCache instance;
    return instance;
}

} // namespace

SharedText SharedText::permanent(std::string_view text)
{
    // Kept where the program can always reach them: a permanent text is never freed, not even at the end, when
    // records that hold it may still be let go of.
    static std::vector<Node*>& kept = *new std::vector<Node*>;
    static std::mutex keeping;
    const std::lock_guard lock(keeping);
    SharedText made;
    made.node_ = kept.emplace_back(new Node{{1}, true, std::string(text)});
    return made;
}

SharedText::SharedText(std::string_view text)
{
    if (text.empty()) return;
    if (text.size() > kLongestShared) {
        node_ = new Node{{1}, false, std::string(text)};
        return;
    }
    SharedText::Node*& slot = cache().slots[SharedTextCache::slotOf(text)];
    if (slot && slot->text == text) {
        node_ = slot;
        retain();
        return;
    }
    node_ = new Node{{1}, false, std::string(text)};
    SharedText previous;
    previous.node_ = slot; // the slot's reference goes with it
    slot = node_;
    retain();
}

const std::string& SharedText::none() noexcept
{
    static const std::string none;
    return none;
}

void SharedText::destroy(Node* node) noexcept
{
    delete node;
}

std::ostream& operator<<(std::ostream& out, const SharedText& text)
{
    return out << text.str();
}

} // namespace quintor
