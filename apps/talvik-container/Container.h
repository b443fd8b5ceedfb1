#pragma once
// The container: controls created through the library's entry points, each on a
// headless host of its own, driven by script lines, with everything that happens
// written out as JSON lines.
#include <map>
#include <memory>
#include <optional>
#include <istream>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "apps/talvik-container/Json.h"
#include "frame/typelib/Catalogue.h"
#include "frame/com/ControlHandle.h"
#include "frame/typelib/TypeLib.h"
#include "hosts/headless/HeadlessHost.h"

namespace talvik::container {

class Container {
public:
    Container(const EntryPoints& entry, std::ostream& out);
    // Releases the controls that are left, quietly.
    ~Container();
    Container(const Container&) = delete;
    Container& operator=(const Container&) = delete;

    // Runs one script line; false when the line was not understood (it is reported).
    bool run(std::string_view line, int number);
    // Runs every line of a script, numbered from 1 (a line may end in CR LF); false
    // when some line was not understood.
    bool runScript(std::istream& in);

private:
    using Words = std::vector<std::string>;
    struct Hosted {
        std::string name;
        std::string className;
        const ControlClass* row = nullptr;  // the catalogue's row, when the linked library has one
        std::shared_ptr<HeadlessHost> host;
        ControlHandle control;
        // Event name -> the by-reference arguments its handler sets.
        std::map<std::string, std::vector<std::pair<std::string, Variant>>> answers;
    };

    void execute(const Words& w);

    // Commands.
    void create(const Words& w, bool isPrivate);
    void init(const Words& w);
    void read(const Words& w);
    void write(const Words& w);
    void show(const Words& w);
    void resize(const Words& w);
    void set(const Words& w);
    void get(const Words& w);
    void call(const Words& w);
    void fire(const Words& w);
    void tick(const Words& w);
    void clock(const Words& w);
    void answer(const Words& w);
    void msgboxReturns(const Words& w);
    void fail(const Words& w);
    void unfail(const Words& w);
    void dump(const Words& w);
    void destroy(const Words& w);
    void typelib(const Words& w);
    void registerServer(const Words& w, bool reg);
    void canUnload(const Words& w);

    Hosted& control(const std::string& name);
    // The element a script names, or null for `surface`; error 340 for an index its
    // array does not have. A name the control does not have is a syntax error.
    std::optional<ErrorInfo> element(Hosted& c, const std::string& word, Element& out);
    void configure(Hosted& c);
    void onEvent(Hosted& c, const EventDecl& ev, std::span<Variant> args);
    void onServiceCall(Hosted& c, const ServiceCall& call);

    // An output object, already holding "line".
    Object line() const;
    void emit(const Object& o);
    void report(const ErrorInfo& error);
    void report(const Outcome& o) { report(o.error); }

    const EntryPoints& entry_;
    std::ostream& out_;
    int line_ = 0;
    std::map<std::string, std::unique_ptr<Hosted>> controls_;

    // Script settings that every host follows, those made later too.
    TimeOfDay clock_{};
    std::int32_t msgBoxAnswer_ = 1;
    std::set<std::string> failedResources_;
    bool failShell_ = false;
    bool failPointer_ = false;
};

}  // namespace talvik::container
