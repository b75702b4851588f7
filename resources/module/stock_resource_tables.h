#pragma once
// The pieces the library's exported table is made of.

#include <span>

#include "platform/resources/resource_abi.h"

namespace brantel::stock_resource {

std::span<const BrantelStringEntry> Strings();
std::span<const BrantelMenuEntry> Menus();

}  // namespace brantel::stock_resource
