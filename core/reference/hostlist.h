// The hosts of a game's address, in one block: a record of a long list keeps one allocation for all of them rather
// than one per host, and reading a reply makes one instead of several.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <iosfwd>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace quintor {

class HostList {
public:
    // Each host is stored as its length (two bytes) and its characters; a host is never longer than a value.
    static constexpr std::size_t kLongestHost = 0xFFFF;

    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;

        const_iterator() = default;
        std::string_view operator*() const { return {at_ + 2, lengthAt(at_)}; }
        const_iterator& operator++()
        {
            at_ += 2 + lengthAt(at_);
            return *this;
        }
        const_iterator operator++(int)
        {
            const_iterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const const_iterator&) const = default;

    private:
        friend class HostList;
        explicit const_iterator(const char* at) : at_(at) {}
        const char* at_ = nullptr;
    };

    HostList() = default;
    HostList(std::initializer_list<std::string_view> hosts)
    {
        for (const std::string_view host : hosts)
            push_back(host);
    }
    HostList(const std::vector<std::string>& hosts)
    {
        for (const std::string& host : hosts)
            push_back(host);
    }

    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    const_iterator begin() const { return const_iterator(packed_.data()); }
    const_iterator end() const { return const_iterator(packed_.data() + packed_.size()); }
    std::string_view front() const { return *begin(); }
    // The host at `index` (< size()): the first is found at once, a later one by passing those before it.
    std::string_view operator[](std::size_t index) const
    {
        const_iterator at = begin();
        for (; index > 0; --index)
            ++at;
        return *at;
    }

    // Appends a host, cut to kLongestHost characters.
    void push_back(std::string_view host) { append(&host, 1); }
    // Appends `count` hosts at once, each cut to kLongestHost characters: the block grows once.
    void append(const std::string_view* hosts, std::size_t count)
    {
        std::size_t added = 0;
        for (std::size_t i = 0; i < count; ++i)
            added += 2 + std::min(hosts[i].size(), kLongestHost);
        std::size_t at = packed_.size();
        packed_.resize(at + added);
        char* const out = packed_.data();
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t length = std::min(hosts[i].size(), kLongestHost);
            out[at] = static_cast<char>(length & 0xFF);
            out[at + 1] = static_cast<char>(length >> 8);
            if (length > 0) std::memcpy(out + at + 2, hosts[i].data(), length);
            at += 2 + length;
        }
        count_ += static_cast<std::uint32_t>(count);
    }
    // Room for this many more hosts of this many characters in all, so that the block is taken once.
    void reserve(std::size_t hosts, std::size_t characters)
    {
        packed_.reserve(packed_.size() + 2 * hosts + characters);
    }
    void clear()
    {
        packed_.clear();
        count_ = 0;
    }

    bool operator==(const HostList& other) const { return count_ == other.count_ && packed_ == other.packed_; }
    friend bool operator==(const HostList& list, const std::vector<std::string>& hosts)
    {
        return list.size() == hosts.size() && std::equal(list.begin(), list.end(), hosts.begin());
    }
    friend std::ostream& operator<<(std::ostream& out, const HostList& list);

private:
    static std::size_t lengthAt(const char* at)
    {
        return static_cast<unsigned char>(at[0]) | (static_cast<std::size_t>(static_cast<unsigned char>(at[1])) << 8);
    }

    std::string packed_;
    std::uint32_t count_ = 0;
};

} // namespace quintor
