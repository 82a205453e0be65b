#include "reference/hostlist.h"

#include <algorithm>

namespace quintor {

HostList::HostList(std::initializer_list<std::string_view> hosts)
{
    for (const std::string_view host : hosts)
        push_back(host);
}

HostList::HostList(const std::vector<std::string>& hosts)
{
    for (const std::string& host : hosts)
        push_back(host);
}

std::size_t HostList::size() const noexcept
{
    return static_cast<std::size_t>(std::count(text_.begin(), text_.end(), kEnd));
}

std::string_view HostList::operator[](std::size_t index) const
{
    auto host = begin();
    std::advance(host, static_cast<std::ptrdiff_t>(index));
    return *host;
}

std::string_view HostList::back() const
{
    const std::string_view hosts(text_.data(), text_.size() - 1);
    return hosts.substr(hosts.rfind(kEnd) + 1);
}

void HostList::push_back(std::string_view host)
{
    text_.append(host.substr(0, host.find(kEnd)));
    text_.push_back(kEnd);
}

bool operator==(const HostList& list, const std::vector<std::string>& hosts)
{
    return std::equal(list.begin(), list.end(), hosts.begin(), hosts.end());
}

} // namespace quintor
