#pragma once
// The XML request document every question to the information server is sent
// as. The text is assembled by hand: its spaces and attribute order are the
// format the server accepts. Values are escaped as XML entities so that no
// value can change the document's structure; the codes, digits and fixed
// texts this system sends contain nothing to escape and come out unchanged.

#include <cstdint>
#include <vector>

#include "platform/text.h"

namespace brantel {

struct RequestParam {
  WideText key;
  WideText value;
  WideText item;
  WideText period;  // written only by BuildDetailText
};

struct RequestGroup {
  int32_t gubun = 0;
  std::vector<RequestParam> params;
};

class RequestDocument {
 public:
  RequestDocument(WideText version, WideText server_date, WideText layout, WideText msisdn, WideText os,
                  WideText filler);

  // Appends an empty group; returns its index.
  int AddGroup(int32_t gubun);
  // Appends a parameter to group `group`; false (nothing added) when there is
  // no such group. An empty text leaves its attribute out.
  bool AddParam(int group, WideView key, WideView value, WideView item, WideView period = {});

  // One InfoList element per group (every request kind but the detail).
  WideText BuildInfoListText() const;
  // One Detail element per group, with the period attribute.
  WideText BuildDetailText() const;

  const std::vector<RequestGroup>& groups() const { return groups_; }

 private:
  WideText BuildText(WideView element, bool with_period) const;

  WideText version_, server_date_, layout_, msisdn_, os_, filler_;
  std::vector<RequestGroup> groups_;
};

// Appends `text` with &, <, >, " and ' written as XML entities.
void AppendXmlEscaped(WideText& out, WideView text);

}  // namespace brantel
