#include "app/dialogs/help_text.h"

namespace brantel {
namespace {

constexpr HelpRow kRows[] = {
    {true, u"화면안내", 17},
    {false, u"1) '마이페이지'에서 별 선택으로 등록한", 57},
    {false, u"     관심정보를 조회할 수 있습니다.", 88},
    {false, u"2) '시장정보'에서 종목, 지수, 환율, 금리,", 128},
    {false, u"     상품 정보를 선택 조회할 수 있습니다.", 159},
    {false, u"3) '종목검색'에서 국내외 종목을", 199},
    {false, u"     종목명/코드로 검색할 수 있습니다.", 230},
    {true, u"이용요금", 308},
    {false, u"1) [정보이용료] 무료", 348},
    {false, u"2) [데이터통화료] 유료", 379},
    {false, u"     데이터 요금제에 가입하시면", 410},
    {false, u"     무료통화 혜택 및 데이터 통화료가", 441},
    {false, u"     할인 적용됩니다.", 472},
    {true, u"유의사항", 550},
    {false, u"1) 본 프로그램에서 제공하는 국내외 정보는", 590},
    {false, u"     지연시세 또는 종가로 제공되는 단순", 621},
    {false, u"     참고자료로 조세, 법률, 투자에 대한", 652},
    {false, u"     자문이나 증권의 매매 또는 추천을 위한", 683},
    {false, u"     자료가 아닙니다.", 714},
    {false, u"2) 본 프로그램은 정보제공자 정책에 따라", 754},
    {false, u"     사전 고지없이 변경될 수 있습니다.", 785},
};

}  // namespace

std::span<const HelpRow> HelpRows() { return kRows; }

}  // namespace brantel
