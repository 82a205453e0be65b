#include "reference/sharedtext.h"

#include <array>
#include <ostream>

namespace quintor {

// The values this thread made last, one per slot of a hash: a value that comes again (the next game's version, the
// same server) takes the slot's copy. A slot holds one reference, so the cache never keeps more than its slots.
struct SharedTextCache {
    static constexpr std::size_t kSlots = 256;
    std::array<SharedText::Node*, kSlots> slots{};

    ~SharedTextCache()
    {
        for (SharedText::Node*& node : slots) {
            SharedText text;
            text.node_ = node; // released with the text
            node = nullptr;
        }
    }

    static std::size_t slotOf(std::string_view text) noexcept
    {
        std::uint32_t hash = 2166136261u;
        for (const char c : text)
            hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
        return (hash ^ (hash >> 16)) % kSlots;
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

SharedText::SharedText(std::string_view text)
{
    if (text.empty()) return;
    if (text.size() > kLongestShared) {
        node_ = new Node{{1}, std::string(text)};
        return;
    }
    SharedText::Node*& slot = cache().slots[SharedTextCache::slotOf(text)];
    if (slot && slot->text == text) {
        node_ = slot;
        retain();
        return;
    }
    node_ = new Node{{1}, std::string(text)};
    SharedText previous;
    previous.node_ = slot; // the slot's reference goes with it
    slot = node_;
    retain();
}

SharedText& SharedText::operator=(const SharedText& other) noexcept
{
    if (node_ == other.node_) return *this;
    other.retain();
    release();
    node_ = other.node_;
    return *this;
}

SharedText& SharedText::operator=(SharedText&& other) noexcept
{
    if (this == &other) return *this;
    release();
    node_ = other.node_;
    other.node_ = nullptr;
    return *this;
}

const std::string& SharedText::none() noexcept
{
    static const std::string none;
    return none;
}

void SharedText::retain() const noexcept
{
    if (node_) node_->references.fetch_add(1, std::memory_order_relaxed);
}

void SharedText::release() noexcept
{
    if (node_ && node_->references.fetch_sub(1, std::memory_order_acq_rel) == 1) delete node_;
    node_ = nullptr;
}

std::ostream& operator<<(std::ostream& out, const SharedText& text)
{
    return out << text.str();
}

} // namespace quintor
