#pragma once
// Reads the viewer's request document: the header fields and the groups
// (InfoList or Detail elements) with their parameters.

#include <string>
#include <string_view>
#include <vector>

namespace brantel::quote_server {

struct RequestParam {
  std::string key, value, item, period;
};

struct RequestGroup {
  bool detail = false;  // a Detail element rather than an InfoList
  int gubun = -1;       // -1 when the attribute is missing or not a number
  std::vector<RequestParam> params;
};

struct QuoteRequest {
  std::string layout, msisdn, os, filler, version, server_date;
  std::vector<RequestGroup> groups;
};

// Requests beyond these sizes are refused rather than answered: the viewer
// sends at most 200 watch-list groups of one parameter each.
constexpr size_t kMaxGroups = 1000;
constexpr size_t kMaxParamsPerGroup = 50;

// False with a short reason when the text is not a request document.
bool ReadQuoteRequest(std::string_view body, QuoteRequest& out, std::string& reason);

}  // namespace brantel::quote_server
