#include "controls/URLLink.h"

#include "frame/host/ControlHost.h"
#include "frame/host/HostError.h"
#include "frame/host/PropertyBag.h"
#include "resources/Resources.h"

namespace talvik::controls {

namespace {
// A neutral address of the reserved .example domain, short enough that a new link's text
// fits the control's design width. Stored files carry it as the default of Text and URL.
constexpr std::string_view kDefaultURL = "https://talvik.example/";
constexpr Colour kBlue = 0x00FF0000;  // RGB(0, 0, 255)
}  // namespace

// ---- Template ----

const ControlTemplate& URLLink::Design() {
    static const ControlTemplate t = [] {
        ControlTemplate t;
        t.width = 2400;
        t.height = 255;
        t.add({.kind = ElementKind::Label,
               .name = "lblURL",
               .left = 120,
               .top = 120,
               .width = 2070,
               .height = 195,
               .caption = std::string(kDefaultURL),
               .foreColor = kBlue,
               .font = {"MS Sans Serif", 8.25f, false, true},
               .cursor = "lblURL",
               .cursorX = 13,
               .cursorY = 5});
        return t;
    }();
    return t;
}

namespace {
using enum MemberKind;

constexpr MemberDesc kMembers[] = {
    property<URLLink, std::string, &URLLink::Text, &URLLink::Text>("Text", -517),  // the standard text identifier
    property<URLLink, std::string, &URLLink::URL, &URLLink::URL>("URL", kProperty + 1),
    property<URLLink, bool, &URLLink::ShowToolTip, &URLLink::ShowToolTip>("ShowToolTip", kProperty + 0),
};

constexpr ArgDecl kGoToURLArgs[] = {{"URL", VarType::String, true}, {"Cancel", VarType::Bool, true}};
constexpr EventDecl kEvents[] = {{"GoToURL", 1, kGoToURLArgs}};
const EventDecl& GoToURL = kEvents[0];

constexpr std::int32_t kShowNormal = 1;
}  // namespace

const ControlClass URLLink::Class{
    .name = "URLLink",
    .ids = ClassIds{guid("{E94BEDCC-7B05-4D33-A5BA-AFEA22599C75}"), guid("{CA415A92-9666-44B8-A451-90711359A554}"),
                    guid("{E75B3EDC-A5BB-4383-9F18-83516DF9C475}")},
    .members = kMembers,
    .events = kEvents,
    .design = &URLLink::Design,
    .create = &construct<URLLink>,
    .pictures = &resources::kPictureFiles,
};

// ---- Fields ----

URLLink::URLLink(ControlHost& host) : Control(host), lblURL(host.label("lblURL")) {}

// ---- Property operations ----

void URLLink::Text(std::string text) {
    lblURL.Caption(text);
    const TextExtent e = host().surface().TextExtentOf(text);
    lblURL.Move(0, 0, e.width, e.height);
    host().PartChanged(PartChange::Name);
    host().PropertyChanged("Text");
}

void URLLink::URL(std::string address) {
    url_ = std::move(address);
    UpdateToolTip();
    host().PartChanged(PartChange::Name);
    host().PropertyChanged("URL");
}

void URLLink::ShowToolTip(bool flag) {
    showToolTip_ = flag;
    UpdateToolTip();
    host().PropertyChanged("ShowToolTip");
}

// ---- Routines ----

void URLLink::UpdateToolTip() { lblURL.ToolTipText(showToolTip_ ? url_ : std::string()); }

// ---- Lifecycle ----

void URLLink::InitProperties() {
    Text(std::string(kDefaultURL));
    url_ = kDefaultURL;
    ShowToolTip(false);
}

// A key that cannot be applied puts the first-placement values back; the keys after it
// are still read, so a good URL or ShowToolTip stored beside a bad value survives.
void URLLink::ReadProperties(const PropertyBag& bag) {
    const auto step = [&](auto&& f) {
        try {
            f();
        } catch (const HostError&) {
            InitProperties();
        }
    };
    step([&] { Text(bag.ReadProperty("Text", Variant(kDefaultURL)).toString()); });
    // Straight into the field: the tool tip follows with ShowToolTip below.
    step([&] { url_ = bag.ReadProperty("URL", Variant(kDefaultURL)).toString(); });
    step([&] { ShowToolTip(bag.ReadProperty("ShowToolTip", false).toBool()); });
}

void URLLink::WriteProperties(PropertyBag& bag) {
    bag.WriteProperty("Text", Text(), Variant(kDefaultURL));
    bag.WriteProperty("URL", url_, Variant(kDefaultURL));
    bag.WriteProperty("ShowToolTip", showToolTip_, false);
}

// ---- Event handlers ----

void URLLink::OnEvent(const InputEvent& ev) {
    if (ev.kind == EventKind::MouseDown && ev.source == lblURL) LabelMouseDown(ev.button);
}

void URLLink::LabelMouseDown(std::int16_t button) {
    if ((button & kLeftButton) == 0) {
        host().SetScreenPointer(ScreenPointer::Default);
        return;
    }
    Variant args[] = {Variant(url_), Variant(false)};
    host().RaiseEvent(GoToURL, args);
    if (args[1].toBool()) return;
    const std::string target = args[0].toString();
    // From the hourglass on, a failing pointer or shell call is shown to the user and the
    // press goes on with its next step, so the pointer comes back whatever failed.
    const auto step = [&](auto&& f) {
        try {
            f();
        } catch (const HostError& e) {
            host().MsgBox("Unable to load '" + target + "' : " + e.description + " (Error " +
                              std::to_string(e.number) + ")",
                          kMsgOkOnly);
        }
    };
    step([&] { host().SetScreenPointer(ScreenPointer::Hourglass); });
    step([&] {
        host().ShellOpen({.window = host().WindowHandle(), .verb = "open", .target = target, .params = "", .dir = "",
                          .show = kShowNormal});
    });
    step([&] { host().SetScreenPointer(ScreenPointer::Default); });
}


// ---- Screen readers ----

AccessibleParts URLLink::DescribeParts() const {
    AccessibleParts d;
    d.self = {.role = PartRole::Link, .name = lblURL.Caption(), .value = url_, .encoding = lblURL.encoding(),
              .bounds = lblURL.bounds(),
              .element = lblURL, .action = PartAction::Press, .disabled = !lblURL.Enabled()};
    return d;
}

}  // namespace talvik::controls
