// The host parts of a game's addresses, kept in one text: a game lists several, and ten thousand games should not
// each hold a list of separate strings for them.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace quintor {

class HostList {
public:
    // Each host is followed by this character, which no host holds: the addresses are cut at it.
    static constexpr char kEnd = ',';

    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = const std::string_view*;
        using reference = std::string_view;

        const_iterator() = default;
        std::string_view operator*() const { return rest_.substr(0, rest_.find(kEnd)); }
        const_iterator& operator++()
        {
            rest_.remove_prefix(rest_.find(kEnd) + 1);
            return *this;
        }
        const_iterator operator++(int)
        {
            const_iterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const const_iterator& other) const { return rest_.size() == other.rest_.size(); }

    private:
        friend class HostList;
        explicit const_iterator(std::string_view rest) : rest_(rest) {}
        std::string_view rest_; // this host and those after it
    };
    using iterator = const_iterator;
    using value_type = std::string_view;
    using size_type = std::size_t;

    HostList() = default;
    HostList(std::initializer_list<std::string_view> hosts);
    HostList(const std::vector<std::string>& hosts);

    bool empty() const noexcept { return text_.empty(); }
    std::size_t size() const noexcept;
    // The host at `index` (< size()).
    std::string_view operator[](std::size_t index) const;
    std::string_view front() const { return *begin(); }
    std::string_view back() const;
    const_iterator begin() const { return const_iterator(text_); }
    const_iterator end() const { return const_iterator(std::string_view(text_).substr(text_.size())); }

    // Appends a host. A host that holds kEnd is cut there: it was never one host.
    void push_back(std::string_view host);
    void clear() noexcept { text_.clear(); }

    // The hosts as they are kept: each one followed by kEnd.
    const std::string& text() const noexcept { return text_; }
    // Appends hosts written the way text() writes them.
    void appendText(std::string_view hostsEachEnded) { text_.append(hostsEachEnded); }

    bool operator==(const HostList&) const = default;
    friend bool operator==(const HostList& list, const std::vector<std::string>& hosts);

private:
    std::string text_;
};

} // namespace quintor
