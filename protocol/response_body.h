#pragma once
// Reads a multipart answer of the information server: the XML part becomes
// the response object, file parts after it are stored in the download folder
// and listed as attachments.

#include <memory>
#include <string>
#include <string_view>

#include "protocol/response_document.h"

namespace brantel {

// Files kept from one answer: further file parts are dropped, so an answer of
// thousands of parts cannot fill the download folder.
inline constexpr size_t kMaxFilesPerAnswer = 16;

// `download_folder` ends with "/". `boundary` is normally empty: the boundary
// is then the text after the first "------" of the body up to its line end.
// At most kMaxFilesPerAnswer file parts are stored; the rest are dropped.
// Returns nullptr when the body holds no readable XML part. No size written in
// the answer leads to an allocation beyond the body's own size.
std::unique_ptr<ResponseDocument> ReadResponseBody(const std::string& download_folder, std::string_view body,
                                                   std::string_view boundary = {});

}  // namespace brantel
