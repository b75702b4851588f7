#pragma once
// The response object an answer of the information server becomes: the eight
// header texts, the records of the body and the files the answer carried.

#include <cstdint>
#include <memory>
#include <vector>

#include <pugixml.hpp>

#include "platform/text.h"
#include "protocol/records.h"

namespace brantel {

// One stored file part. `path` is the full path of the file; `extra` is
// always left empty by this system.
struct Attachment {
  WideText path;
  WideText extra;
};

struct ResponseHeader {
  WideText layout;
  WideText msisdn;
  WideText os;
  WideText filler;
  WideText version;
  WideText server_date;
  WideText result_code;
  WideText result_desc;
};

class ResponseDocument {
 public:
  virtual ~ResponseDocument() = default;

  // Reads the records below the document element's one Body. False when the
  // answer has no single Body; the object then keeps no items.
  virtual bool ReadBody(const pugi::xml_node& document_element) = 0;
  virtual size_t ItemCount() const = 0;

  const ResponseHeader& header() const { return header_; }
  void set_header(ResponseHeader header) { header_ = std::move(header); }
  // A header text by its element name ("ResultCode", ...); nullptr for others.
  const WideText* HeaderText(WideView name) const;

  size_t AttachmentCount() const { return attachments_.size(); }
  const Attachment* AttachmentAt(size_t index) const {
    return index < attachments_.size() ? &attachments_[index] : nullptr;
  }
  const std::vector<Attachment>& attachments() const { return attachments_; }
  void AddAttachment(Attachment a) { attachments_.push_back(std::move(a)); }

  // 1 when the reader saw that the text can hold at most one Body element, so
  // the search for it may stop at the first; 2 (the default) walks the tree.
  void set_body_search_limit(size_t limit) { body_search_limit_ = limit; }

 protected:
  // Finds the one Body below the document element; false when there is none
  // or more than one.
  bool FindSingleBody(const pugi::xml_node& document_element, pugi::xml_node& body) const;

 private:
  ResponseHeader header_;
  std::vector<Attachment> attachments_;
  size_t body_search_limit_ = 2;  // 1 when the text can hold only one Body
};

// Every answer whose layout is not "D": each child of Body is one row.
class ListResponse : public ResponseDocument {
 public:
  bool ReadBody(const pugi::xml_node& document_element) override;
  size_t ItemCount() const override { return items_.size(); }
  const StockRecord* ItemAt(size_t index) const { return index < items_.size() ? &items_[index] : nullptr; }
  std::vector<StockRecord>& items() { return items_; }
  const std::vector<StockRecord>& items() const { return items_; }

 private:
  std::vector<StockRecord> items_;
};

// An answer with layout "D": Detail children are the items, InfoList
// children (the daily rows) are the related rows.
class DetailResponse : public ResponseDocument {
 public:
  bool ReadBody(const pugi::xml_node& document_element) override;
  size_t ItemCount() const override { return items_.size(); }
  const StockDetailRecord* ItemAt(size_t index) const {
    return index < items_.size() ? &items_[index] : nullptr;
  }
  std::vector<StockDetailRecord>& items() { return items_; }
  const std::vector<StockDetailRecord>& items() const { return items_; }
  std::vector<StockRecord>& related() { return related_; }
  const std::vector<StockRecord>& related() const { return related_; }

 private:
  std::vector<StockDetailRecord> items_;
  std::vector<StockRecord> related_;
};

// The category text rule: "0" to "5" give their number, anything else
// (including a missing attribute) gives 0.
int32_t CategoryFromText(std::string_view text);

// Reads a response document from its wide text; nullptr when it does not
// load or has no single Header.
std::unique_ptr<ResponseDocument> ReadResponseXml(WideView xml);

// The same from wire bytes that hold no zero byte and decode by the wire
// rules exactly as they would as UTF-8 (see IsPlainUtf8). The bytes are
// parsed in place and may be changed.
std::unique_ptr<ResponseDocument> ReadResponseXmlInPlace(char* xml, size_t size);

// True when every byte sequence in `bytes` is a well-formed UTF-8 sequence of
// at most three bytes without NUL, so the wire decoding equals UTF-8.
bool IsPlainUtf8(std::string_view bytes);

}  // namespace brantel
