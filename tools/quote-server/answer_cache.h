#pragma once
// Whole answers of the market being served, for markets whose answers do not
// depend on the clock (a market read from files answers a request alike
// every time). A 3,000-row ranking then costs a copy, not 3,000 rows of
// formatting. Swapping in another market empties the cache; its old answers
// are freed with it.

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

#include "tools/quote-server/quote_source.h"

namespace brantel::quote_server {

struct ProtocolAnswer {
  std::string content_type;
  std::string body;
};

class AnswerCache {
 public:
  // Requests differ in their headers (a phone number, a version), so the
  // cache is bounded; when full it starts again.
  static constexpr size_t kMaxBytes = size_t(64) << 20;
  static constexpr size_t kMaxAnswers = 1024;

  std::shared_ptr<const ProtocolAnswer> Find(const std::shared_ptr<const QuoteSource>& source, std::string_view path,
                                             std::string_view body) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!SameSource(source)) return nullptr;
    const auto it = answers_.find(Key(path, body));
    return it == answers_.end() ? nullptr : it->second;
  }

  void Keep(const std::shared_ptr<const QuoteSource>& source, std::string_view path, std::string_view body,
            std::shared_ptr<const ProtocolAnswer> answer) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!SameSource(source)) {
      answers_.clear();
      bytes_ = 0;
      source_ = source;
    }
    if (bytes_ + answer->body.size() > kMaxBytes || answers_.size() >= kMaxAnswers) {
      answers_.clear();
      bytes_ = 0;
    }
    bytes_ += answer->body.size();
    answers_[Key(path, body)] = std::move(answer);
  }

 private:
  static std::string Key(std::string_view path, std::string_view body) {
    std::string key(path);
    key += '\n';
    key += body;
    return key;
  }
  // Compares owners, so a new market at an old market's address is not
  // taken for it (the weak pointer keeps the old owner's record alive).
  bool SameSource(const std::shared_ptr<const QuoteSource>& source) const {
    return !source_.expired() && !source_.owner_before(source) && !source.owner_before(source_);
  }

  std::mutex mutex_;
  std::weak_ptr<const QuoteSource> source_;
  std::unordered_map<std::string, std::shared_ptr<const ProtocolAnswer>> answers_;
  size_t bytes_ = 0;
};

}  // namespace brantel::quote_server
