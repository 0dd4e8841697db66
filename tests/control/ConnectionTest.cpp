// Connection points for _DKelEvents and property notifications, and quick
// activation, which advises both at once.
#include "tests/control/ControlSupport.h"

#include <olectl.h>

#include <iterator>

namespace kel::test {
namespace {

// A sink that answers the interfaces it was made for, and counts its
// references so that the test sees the control give them back.
class CountingSink final : public IPropertyNotifySink {
public:
    explicit CountingSink(const IID& events) : events_(events) {}
    LONG references = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        *object = nullptr;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, events_)) {
            *object = this;
            AddRef();
            return S_OK;
        }
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    HRESULT STDMETHODCALLTYPE OnChanged(DISPID) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnRequestEdit(DISPID) override { return S_OK; }

private:
    const IID events_;
};

com_ptr<IConnectionPoint> findPoint(IConnectionPointContainer* container, const IID& iid)
{
    com_ptr<IConnectionPoint> point;
    EXPECT_HR(S_OK, container->FindConnectionPoint(iid, point.put()));
    return point;
}

TEST(Connections, EnumeratesTheEventsAndNotificationPoints)
{
    com_ptr<IConnectionPointContainer> container =
        createControl<IConnectionPointContainer>(IID_IConnectionPointContainer);
    com_ptr<IEnumConnectionPoints> points;
    ASSERT_HR(S_OK, container->EnumConnectionPoints(points.put()));
    IConnectionPoint* got[3] = {};
    ULONG fetched = 0;
    EXPECT_HR(S_FALSE, points->Next(std::size(got), got, &fetched));
    ASSERT_EQ(2u, fetched);
    IID iids[2] = {};
    for (ULONG i = 0; i < fetched; ++i) {
        EXPECT_HR(S_OK, got[i]->GetConnectionInterface(&iids[i]));
        got[i]->Release();
    }
    EXPECT_TRUE(IsEqualIID(kEventsIid, iids[0]));
    EXPECT_TRUE(IsEqualIID(IID_IPropertyNotifySink, iids[1]));
    com_ptr<IConnectionPoint> none;
    EXPECT_HR(CONNECT_E_NOCONNECTION, container->FindConnectionPoint(IID_IDispatch, none.put()));
    points.reset();
    releaseLast(container);
}

TEST(Connections, CookiesAreSlotsPlusOneAndChecked)
{
    com_ptr<IConnectionPointContainer> container =
        createControl<IConnectionPointContainer>(IID_IConnectionPointContainer);
    com_ptr<IConnectionPoint> point = findPoint(container.get(), IID_IPropertyNotifySink);
    ASSERT_TRUE(point);
    com_ptr<IConnectionPointContainer> back;
    EXPECT_HR(S_OK, point->GetConnectionPointContainer(back.put()));
    EXPECT_EQ(container.get(), back.get());
    back.reset();

    CountingSink first(IID_IPropertyNotifySink);
    CountingSink second(IID_IPropertyNotifySink);
    DWORD cookie1 = 0;
    DWORD cookie2 = 0;
    EXPECT_HR(S_OK, point->Advise(&first, &cookie1));
    EXPECT_HR(S_OK, point->Advise(&second, &cookie2));
    EXPECT_EQ(1u, cookie1);
    EXPECT_EQ(2u, cookie2);
    EXPECT_EQ(1, first.references);

    com_ptr<IEnumConnections> connections;
    ASSERT_HR(S_OK, point->EnumConnections(connections.put()));
    CONNECTDATA data[2] = {};
    ULONG fetched = 0;
    EXPECT_HR(S_OK, connections->Next(std::size(data), data, &fetched));
    ASSERT_EQ(2u, fetched);
    EXPECT_EQ(1u, data[0].dwCookie);
    EXPECT_EQ(2u, data[1].dwCookie);
    data[0].pUnk->Release();
    data[1].pUnk->Release();
    connections.reset();

    EXPECT_HR(S_OK, point->Unadvise(cookie1));
    EXPECT_EQ(0, first.references);
    EXPECT_HR(CONNECT_E_NOCONNECTION, point->Unadvise(cookie1));
    EXPECT_HR(CONNECT_E_NOCONNECTION, point->Unadvise(0));
    EXPECT_HR(CONNECT_E_NOCONNECTION, point->Unadvise(99));
    DWORD reused = 0;
    EXPECT_HR(S_OK, point->Advise(&first, &reused));
    EXPECT_EQ(1u, reused) << "a freed slot is used again";

    point.reset();
    releaseLast(container);
    EXPECT_EQ(0, first.references) << "the last release drops remaining sinks";
    EXPECT_EQ(0, second.references);
}

TEST(Connections, SinkWithoutTheInterfaceCannotConnect)
{
    com_ptr<IConnectionPointContainer> container =
        createControl<IConnectionPointContainer>(IID_IConnectionPointContainer);
    com_ptr<IConnectionPoint> point = findPoint(container.get(), kEventsIid);
    CountingSink wrong(IID_IPropertyNotifySink);
    DWORD cookie = 77;
    EXPECT_HR(CONNECT_E_CANNOTCONNECT, point->Advise(&wrong, &cookie));
    EXPECT_EQ(0u, cookie);
    EXPECT_EQ(0, wrong.references);
    point.reset();
    releaseLast(container);
}

TEST(QuickActivate, AdvisesTheSinksAndReportsStatus)
{
    com_ptr<IQuickActivate> quick = createControl<IQuickActivate>(IID_IQuickActivate);
    CountingSink events(kEventsIid);
    CountingSink notify(IID_IPropertyNotifySink);
    QACONTAINER container = {};
    container.cbSize = sizeof container;
    container.pUnkEventSink = &events;
    container.pPropertyNotifySink = &notify;
    QACONTROL control = {};
    control.cbSize = sizeof control;
    ASSERT_HR(S_OK, quick->QuickActivate(&container, &control));
    EXPECT_EQ(0x00020091u, control.dwMiscStatus);
    EXPECT_EQ(DWORD(VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND), control.dwViewStatus);
    EXPECT_EQ(1u, control.dwEventCookie);
    EXPECT_EQ(1u, control.dwPropNotifyCookie);
    EXPECT_EQ(1, events.references);

    SIZEL extent = {1000, 1000};
    EXPECT_HR(S_OK, quick->SetContentExtent(&extent));
    SIZEL got = {};
    EXPECT_HR(S_OK, quick->GetContentExtent(&got));
    EXPECT_EQ(1000, got.cx);

    QACONTAINER tooSmall = {};
    tooSmall.cbSize = 8;
    EXPECT_HR(E_INVALIDARG, quick->QuickActivate(&tooSmall, &control));
    releaseLast(quick);
    EXPECT_EQ(0, events.references);
    EXPECT_EQ(0, notify.references);
}

}  // namespace
}  // namespace kel::test
