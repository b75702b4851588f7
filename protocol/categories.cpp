#include "protocol/categories.h"

namespace brantel {

WideText CategoryKindName(int32_t category, int32_t sub_kind) {
  switch (category) {
    case kCategoryMaster: return u"master";
    case kCategoryStock: return u"stockitem";
    case kCategoryIndex: return u"stockindex";
    case kCategoryExchange: return u"exchange";
    case kCategoryInterestRate: return u"interestrate";
    case kCategoryFutures: return u"futures";
    case kCategoryRanking:
      if (sub_kind == kRankingTradeValue) return u"trademoney";
      if (sub_kind == kRankingMarketCap) return u"marketcapital";
      return u"tradeamount";
    case kCategoryMyPage: return u"mypage";
    case kCategorySearch: return u"search";
    default: return {};
  }
}

WideText GroupName(int32_t category, WideView group) {
  static constexpr const char16_t* kNames[6][4] = {
      {nullptr, nullptr, nullptr, nullptr},
      {u"국내", u"해외", nullptr, nullptr},
      {u"국내지수", u"Asia", u"Americas", u"Europe/Middle East/Africa"},
      {u"Americas", u"Europe/Middle East/Africa", u"Asia", nullptr},
      {u"국내", u"Americas", u"Europe/Middle East/Africa", u"Asia"},
      {u"Energy", u"Metals", u"Agriculture", nullptr},
  };
  if (category < 1 || category > 5 || group.size() != 1 || group[0] < u'0' || group[0] > u'3') return {};
  const char16_t* name = kNames[category][group[0] - u'0'];
  return name ? WideText(name) : WideText();
}

}  // namespace brantel
