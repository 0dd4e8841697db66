// Drawing into a memory bitmap: the whole bounds rectangle white, and an
// ellipse touching its four sides, drawn with the DC's own pen.
#include "tests/control/ControlSupport.h"

namespace kel::test {
namespace {

constexpr int kSize = 64;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);

// A bitmap painted red first, so that what the control leaves alone shows.
class Canvas {
public:
    Canvas()
    {
        dc_ = CreateCompatibleDC(nullptr);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = kSize * 2;
        info.bmiHeader.biHeight = -kSize * 2;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        RECT all = {0, 0, kSize * 2, kSize * 2};
        HBRUSH red = CreateSolidBrush(kRed);
        FillRect(dc_, &all, red);
        DeleteObject(red);
    }
    ~Canvas()
    {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    COLORREF at(int x, int y) const { return GetPixel(dc_, x, y); }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

TEST(Drawing, SquareBoundsGiveWhiteCornersAndACircle)
{
    com_ptr<IViewObject> view = createControl<IViewObject>(IID_IViewObject);
    Canvas canvas;
    const RECTL bounds = {8, 8, 8 + kSize, 8 + kSize};
    const RECTL invalid = {0, 0, 1, 1};  // ignored: the whole bounds are drawn
    ASSERT_HR(S_OK, view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, canvas.dc(), &bounds,
                               &invalid, nullptr, 0));
    const int l = 8, t = 8, r = 8 + kSize - 1, b = 8 + kSize - 1, mid = 8 + kSize / 2;
    for (POINT corner : {POINT{l, t}, POINT{r, t}, POINT{l, b}, POINT{r, b}, POINT{l + 3, t + 3}})
        EXPECT_EQ(kWhite, canvas.at(corner.x, corner.y)) << "corner " << corner.x << "," << corner.y;
    // The circle's outline touches the middle of each side.
    EXPECT_EQ(kBlack, canvas.at(l, mid)) << "left";
    EXPECT_EQ(kBlack, canvas.at(r, mid)) << "right";
    EXPECT_EQ(kBlack, canvas.at(mid, t)) << "top";
    EXPECT_EQ(kBlack, canvas.at(mid, b)) << "bottom";
    // The same radius across and down: a circle, not just an ellipse.
    for (int d = 0; d < kSize / 2; ++d)
        EXPECT_EQ(canvas.at(l + d, mid), canvas.at(mid, t + d)) << "radius differs at " << d;
    EXPECT_EQ(kWhite, canvas.at(mid, mid)) << "filled with the DC's white brush";
    EXPECT_EQ(kRed, canvas.at(l - 1, t - 1)) << "nothing outside the bounds";
    EXPECT_EQ(kRed, canvas.at(r + 1, b + 1));
    releaseLast(view);
}

TEST(Drawing, BadRequestsAreRefused)
{
    com_ptr<IViewObjectEx> view = createControl<IViewObjectEx>(IID_IViewObjectEx);
    Canvas canvas;
    const RECTL bounds = {0, 0, 10, 10};
    EXPECT_HR(DV_E_DVASPECT, view->Draw(DVASPECT_ICON, -1, nullptr, nullptr, nullptr, canvas.dc(), &bounds,
                                        nullptr, nullptr, 0));
    EXPECT_HR(DV_E_LINDEX, view->Draw(DVASPECT_CONTENT, 3, nullptr, nullptr, nullptr, canvas.dc(), &bounds,
                                      nullptr, nullptr, 0));
    EXPECT_HR(E_INVALIDARG, view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, canvas.dc(), nullptr,
                                       nullptr, nullptr, 0))
        << "no bounds while not active in place";
    EXPECT_EQ(kRed, canvas.at(1, 1));
    releaseLast(view);
}

TEST(Drawing, ViewStatusHitTestsAndAdvise)
{
    com_ptr<IViewObjectEx> view = createControl<IViewObjectEx>(IID_IViewObjectEx);
    DWORD status = 0;
    EXPECT_HR(S_OK, view->GetViewStatus(&status));
    EXPECT_EQ(DWORD(VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND), status);
    const RECT bounds = {0, 0, 10, 10};
    DWORD hit = 0;
    EXPECT_HR(S_OK, view->QueryHitPoint(DVASPECT_CONTENT, &bounds, POINT{5, 5}, 0, &hit));
    EXPECT_EQ(DWORD(HITRESULT_HIT), hit);
    EXPECT_HR(S_OK, view->QueryHitPoint(DVASPECT_CONTENT, &bounds, POINT{20, 5}, 0, &hit));
    EXPECT_EQ(DWORD(HITRESULT_OUTSIDE), hit);

    com_ptr<IAdviseSink> none;
    DWORD aspects = 9;
    EXPECT_HR(S_OK, view->GetAdvise(&aspects, nullptr, none.put()));
    EXPECT_EQ(0u, aspects);
    EXPECT_FALSE(none);
    SIZEL extent = {};
    EXPECT_HR(S_OK, view->GetExtent(DVASPECT_CONTENT, -1, nullptr, &extent));
    EXPECT_EQ(2646, extent.cx);
    releaseLast(view);
}

}  // namespace
}  // namespace kel::test
