// A text that many game records hold alike (a status, a version, a server, a player's flags): records made on one
// thread share one copy of each recent value, and the record keeps only a pointer to it.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

namespace quintor {

class SharedText {
public:
    SharedText() noexcept = default;
    SharedText(std::string_view text);
    SharedText(const std::string& text) : SharedText(std::string_view(text)) {}
    SharedText(const char* text) : SharedText(std::string_view(text)) {}
    // A text that every record starts with ("ERR", "Keine"), made once for the program's life: copying and letting
    // go of it count nothing, as thousands of records take and replace it in every refresh.
    static SharedText permanent(std::string_view text);
    SharedText(const SharedText& other) noexcept : node_(other.node_) { retain(); }
    SharedText(SharedText&& other) noexcept : node_(other.node_) { other.node_ = nullptr; }
    SharedText& operator=(const SharedText& other) noexcept
    {
        other.retain();
        release();
        node_ = other.node_;
        return *this;
    }
    SharedText& operator=(SharedText&& other) noexcept
    {
        if (this == &other) return *this;
        release();
        node_ = other.node_;
        other.node_ = nullptr;
        return *this;
    }
    ~SharedText() { release(); }

    const std::string& str() const noexcept { return node_ ? node_->text : none(); }
    operator const std::string&() const noexcept { return str(); }
    operator std::string_view() const noexcept { return str(); }

    bool empty() const noexcept { return str().empty(); }
    std::size_t size() const noexcept { return str().size(); }
    const char* data() const noexcept { return str().data(); }
    const char* c_str() const noexcept { return str().c_str(); }

    friend bool operator==(const SharedText& a, std::string_view b) noexcept { return a.str() == b; }
    friend std::ostream& operator<<(std::ostream& out, const SharedText& text);

private:
    struct Node {
        std::atomic<std::uint32_t> references{1};
        bool permanent = false; // never counted, never freed
        std::string text;
    };
    friend struct SharedTextCache;

    static const std::string& none() noexcept;
    void retain() const noexcept
    {
        if (node_ && !node_->permanent) node_->references.fetch_add(1, std::memory_order_relaxed);
    }
    void release() noexcept
    {
        if (node_ && !node_->permanent && node_->references.fetch_sub(1, std::memory_order_acq_rel) == 1)
            destroy(node_);
        node_ = nullptr;
    }
    static void destroy(Node* node) noexcept;

    Node* node_ = nullptr; // null: ""
};

} // namespace quintor
