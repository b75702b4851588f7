#pragma once
// A host's IPv4 address, as both HTTP clients (the information server's
// exchange and the updater's download) look it up.

#include <netinet/in.h>

#include <string_view>

namespace brantel {

// Dotted text is taken as it is; a name is looked up and its first IPv4
// address used. False when neither gives one.
bool ResolveIpv4(std::string_view host, in_addr* out);

}  // namespace brantel
