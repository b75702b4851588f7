// The numbered texts of the viewer: window texts, the search hint and the
// messages its message box shows.
#include "resources/module/stock_resource_tables.h"

namespace brantel::stock_resource {

namespace {
const BrantelStringEntry kStrings[] = {
    {102, "마이페이지 편집"},                                           // MyPage editor window text
    {103, "종목명 또는 코드 입력"},                                     // hint of the empty search edit
    {104, "버전 정보"},                                                 // version dialog title
    {108, "시세 정보를 받아오지 못했습니다. 잠시 후 다시 시도해 주세요."},  // a list refresh failed
    {109, "종목 정보를 불러오지 못해 프로그램을 종료합니다."},            // master list failed, the viewer ends
    {110, "서버에 연결하지 못했습니다."},                                // spare: server not reachable
    {111, "데이터 연결이 없습니다. 지금 연결하시겠습니까?"},             // no data connection (Yes/No)
    {112, "마이페이지에는 최대 200개까지 등록할 수 있습니다."},          // MyPage is full
};
}  // namespace

std::span<const BrantelStringEntry> Strings() { return kStrings; }

}  // namespace brantel::stock_resource
