// Writes the typed Qt widgets from the library's type description: for every public
// class a header and a source in OUT/hosts/qt/widgets/, with its properties as
// Q_PROPERTYs, its methods as slots, its events as signals and its enumerations as
// Q_ENUMs. The classes to write are named on the command line (the build must know its
// outputs); a list that differs from the type description is an error, so the two
// cannot drift apart.
//
//     talvik_widgetgen OUT Banner Matrix ...
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "frame/typelib/TypeLib.h"

namespace {

using namespace talvik;

struct Fail {
    std::string what;
};

std::string qtType(const TypeRef& t) {
    if (!t.enumName.empty()) return std::string(t.enumName);
    switch (t.type) {
        case VarType::Empty: return "void";
        case VarType::Int16: return "qint16";
        case VarType::Int32: return "qint32";
        case VarType::Bool: return "bool";
        case VarType::Float: return "float";
        case VarType::Double: return "double";
        case VarType::String: return "QString";
        case VarType::StringArray: return "QStringList";
        default: throw Fail{"no Qt type for " + std::string(typeName(t))};
    }
}

// The expression that turns the Variant `v` into the member's Qt type.
std::string fromVariant(const TypeRef& t, const std::string& v) {
    if (!t.enumName.empty()) return std::string(t.enumName) + "(int32Of(" + v + "))";
    switch (t.type) {
        case VarType::Int16: return "int16Of(" + v + ")";
        case VarType::Int32: return "int32Of(" + v + ")";
        case VarType::Bool: return "boolOf(" + v + ")";
        case VarType::Float: return "floatOf(" + v + ")";
        case VarType::String: return "textOf(" + v + ")";
        case VarType::StringArray: return "textsOf(" + v + ")";
        default: throw Fail{"no conversion from " + std::string(typeName(t))};
    }
}

// The Variant the library takes for a Qt value `q`.
std::string toVariant(const TypeRef& t, const std::string& q) {
    if (!t.enumName.empty()) return "Variant(std::int32_t(" + q + "))";
    switch (t.type) {
        case VarType::Int16: return "Variant(std::int16_t(" + q + "))";
        case VarType::Int32: return "Variant(std::int32_t(" + q + "))";
        case VarType::Bool: return "Variant(bool(" + q + "))";
        case VarType::Float: return "Variant(float(" + q + "))";
        case VarType::String: return "Variant(toLibraryText(" + q + "))";
        default: throw Fail{"no conversion to " + std::string(typeName(t))};
    }
}

// What a setter passes to the control for its parameter `value`.
std::string setterVariant(const TypeRef& t) {
    if (t.enumName.empty() && t.type == VarType::Int16) return "Variant(std::int32_t(value))";
    if (t.enumName.empty() && t.type == VarType::Float) return "Variant(double(value))";
    return toVariant(t, "value");
}

TypeRef argType(const ArgDecl& a) { return {a.type, {}}; }

std::string setterOf(std::string_view name) { return "set" + std::string(name); }

// The type a Q_PROPERTY is offered as: Designer's property editor and uic know int and
// double but not short and float, so 16-bit integers go as int and floats as double.
// The getter still gives the member's own type.
std::string propertyType(const TypeRef& t) {
    if (t.enumName.empty() && t.type == VarType::Int16) return "int";
    if (t.enumName.empty() && t.type == VarType::Float) return "double";
    return qtType(t);
}

// A setter's parameter: the property's type, text by reference. A value out of the
// member's range reaches the control's dispatch, which refuses it with Overflow.
std::string paramType(const TypeRef& t) {
    const std::string q = propertyType(t);
    return q == "QString" || q == "QStringList" ? "const " + q + "&" : q;
}

// QWidget's own setters that a property's setter would hide. setEnabled keeps both
// meanings: a control's Enabled and the widget's enabled state say the same thing.
bool sharesQWidgetSetter(std::string_view setter) { return setter == "setEnabled"; }
bool overloadsQWidgetSetter(std::string_view setter) { return setter == "setStyle" || setter == "setFont"; }

void writeHeader(std::ostream& h, const ClassDesc& c) {
    const std::string name(c.name);
    std::set<std::string_view> enums;
    for (const MemberDesc& m : c.members)
        if (!m.type.enumName.empty()) enums.insert(m.type.enumName);

    h << "#pragma once\n"
         "// Written by the build from the library's type description; not to be edited.\n"
         "#include <QString>\n#include <QStringList>\n\n#include \"hosts/qt/TypedWidget.h\"\n\n"
         "namespace talvik {\n\n"
         "// The " << name << " control as a Qt widget: its properties, methods and events as\n"
         "// Qt properties, slots and signals. Connect to a signal with by-reference\n"
         "// arguments directly: the control reads back what the handler changed.\n"
         "class " << name << " : public TypedWidget {\n    Q_OBJECT\n";
    for (const MemberDesc& m : c.members) {
        if (m.kind == MemberKind::Method) continue;
        h << "    Q_PROPERTY(" << propertyType(m.type) << ' ' << m.name << " READ " << m.name;
        if (m.hasLet()) h << " WRITE " << setterOf(m.name);
        h << " NOTIFY " << m.name << "Changed)\n";
    }
    h << "\npublic:\n";
    for (std::string_view e : enums) {
        const EnumDesc* d = findEnum(e);
        if (d == nullptr) throw Fail{"unknown enumeration " + std::string(e)};
        h << "    enum " << e << " : qint32 {";
        const char* sep = " ";
        for (const EnumItem& it : d->items) {
            h << sep << it.name << " = " << it.value;
            sep = ", ";
        }
        h << " };\n    Q_ENUM(" << e << ")\n";
    }
    h << (enums.empty() ? "" : "\n") << "    explicit " << name << "(QWidget* parent = nullptr);\n"
      << "    // Restored from a container's saved properties instead of started afresh.\n"
      << "    explicit " << name << "(const PropertyBag* saved, QWidget* parent = nullptr);\n";
    for (const MemberDesc& m : c.members) {
        if (m.kind == MemberKind::Method) continue;
        h << "\n    " << qtType(m.type) << ' ' << m.name << "() const;\n";
        if (m.hasLet()) {
            const std::string setter = setterOf(m.name);
            h << "    void " << setter << '(' << paramType(m.type) << " value);\n";
            if (overloadsQWidgetSetter(setter)) h << "    using QWidget::" << setter << ";\n";
        }
    }
    bool anyMethod = false;
    for (const MemberDesc& m : c.members)
        if (m.kind == MemberKind::Method) anyMethod = true;
    if (anyMethod) {
        h << "\npublic slots:\n";
        for (const MemberDesc& m : c.members)
            if (m.kind == MemberKind::Method) h << "    " << qtType(m.type) << ' ' << m.name << "();\n";
    }
    h << "\nsignals:\n";
    for (const MemberDesc& m : c.members)
        if (m.kind != MemberKind::Method) h << "    void " << m.name << "Changed();\n";
    for (const EventDecl& e : c.events) {
        h << "    void " << e.name << '(';
        const char* sep = "";
        for (const ArgDecl& a : e.args) {
            h << sep << qtType(argType(a)) << (a.byRef ? "& " : " ") << a.name;
            sep = ", ";
        }
        h << ");\n";
    }
    h << "\nprotected:\n"
         "    void raised(const EventDecl& event, std::span<Variant> args) override;\n"
         "    void changed(const QString& property) override;\n"
         "};\n\n}  // namespace talvik\n";
}

void writeSource(std::ostream& s, const ClassDesc& c) {
    const std::string name(c.name);
    s << "// Written by the build from the library's type description; not to be edited.\n"
         "#include \"hosts/qt/widgets/" << name << ".h\"\n\n"
         "namespace talvik {\n\n"
      << name << "::" << name << "(QWidget* parent) : " << name << "(nullptr, parent) {}\n\n"
      << name << "::" << name << "(const PropertyBag* saved, QWidget* parent) : TypedWidget(\"" << name
      << "\", saved, parent) {}\n";
    for (const MemberDesc& m : c.members) {
        const std::string t = qtType(m.type);
        if (m.kind == MemberKind::Method) {
            s << '\n' << t << ' ' << name << "::" << m.name << "() {\n";
            if (m.type.type == VarType::Empty)
                s << "    invokeMethod(\"" << m.name << "\");\n}\n";
            else
                s << "    return " << fromVariant(m.type, "invokeMethod(\"" + std::string(m.name) + "\")") << ";\n}\n";
            continue;
        }
        const std::string result = m.type.enumName.empty() ? t : name + "::" + t;
        s << '\n' << result << ' ' << name << "::" << m.name << "() const {\n"
          << "    return " << fromVariant(m.type, "const_cast<" + name + "*>(this)->value(\"" + std::string(m.name) + "\")")
          << ";\n}\n";
        if (m.hasLet()) {
            const std::string setter = setterOf(m.name);
            s << "\nvoid " << name << "::" << setter << '(' << paramType(m.type) << " value) {\n";
            if (sharesQWidgetSetter(setter)) s << "    QWidget::" << setter << "(value);\n";
            s << "    setValue(\"" << m.name << "\", " << setterVariant(m.type) << ");\n}\n";
        }
    }
    s << "\nvoid " << name << "::raised(const EventDecl& event, std::span<Variant> args) {\n";
    if (c.events.empty()) s << "    (void)event;\n    (void)args;\n";
    for (const EventDecl& e : c.events) {
        s << "    if (event.name == \"" << e.name << "\" && args.size() == " << e.args.size() << ") {\n";
        for (std::size_t i = 0; i < e.args.size(); ++i)
            s << "        " << qtType(argType(e.args[i])) << " a" << i << " = "
              << fromVariant(argType(e.args[i]), "args[" + std::to_string(i) + "]") << ";\n";
        s << "        emit " << e.name << '(';
        for (std::size_t i = 0; i < e.args.size(); ++i) s << (i ? ", a" : "a") << i;
        s << ");\n";
        for (std::size_t i = 0; i < e.args.size(); ++i)
            if (e.args[i].byRef)
                s << "        args[" << i << "] = " << toVariant(argType(e.args[i]), "a" + std::to_string(i)) << ";\n";
        s << "        return;\n    }\n";
    }
    s << "}\n\nvoid " << name << "::changed(const QString& property) {\n";
    bool any = false;
    for (const MemberDesc& m : c.members) {
        if (m.kind == MemberKind::Method) continue;
        any = true;
        s << "    if (property.compare(QLatin1String(\"" << m.name << "\"), Qt::CaseInsensitive) == 0) emit " << m.name
          << "Changed();\n";
    }
    if (!any) s << "    (void)property;\n";
    s << "}\n\n}  // namespace talvik\n";
}

// Writes the file only when its text changed, so that an unchanged type description
// does not rebuild the widgets.
void writeIfChanged(const std::filesystem::path& path, const std::string& text) {
    {
        std::ifstream in(path, std::ios::binary);
        if (in) {
            std::ostringstream old;
            old << in.rdbuf();
            if (old.str() == text) return;
        }
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) throw Fail{"cannot write " + path.string()};
}

// Widgets.h: every typed widget by class name, for tools that make them by name (the
// Designer plugin).
void writeRegistry(std::ostream& h, std::ostream& s) {
    h << "#pragma once\n"
         "// Written by the build from the library's type description; not to be edited.\n"
         "#include <QMetaObject>\n#include <memory>\n#include <span>\n#include <string_view>\n\n"
         "#include \"hosts/qt/TypedWidget.h\"\n\n"
         "namespace talvik {\n\n"
         "struct WidgetClass {\n"
         "    std::string_view name;  // the control's class name, also the widget's\n"
         "    const QMetaObject* meta;\n"
         "    std::unique_ptr<TypedWidget> (*create)(QWidget* parent);\n"
         "};\n\n"
         "// The typed widgets in the order of the type description.\n"
         "std::span<const WidgetClass> widgetClasses();\n"
         "// The widget class of that name, or null.\n"
         "const WidgetClass* findWidgetClass(std::string_view name);\n\n"
         "}  // namespace talvik\n";
    s << "// Written by the build from the library's type description; not to be edited.\n"
         "#include \"hosts/qt/widgets/Widgets.h\"\n\n";
    for (const ClassDesc& c : typeLibrary().classes) s << "#include \"hosts/qt/widgets/" << c.name << ".h\"\n";
    s << "\nnamespace talvik {\n\nnamespace {\n"
         "template <class W>\nstd::unique_ptr<TypedWidget> make(QWidget* parent) {\n"
         "    return std::make_unique<W>(parent);\n}\n\n"
         "const WidgetClass kClasses[] = {\n";
    for (const ClassDesc& c : typeLibrary().classes)
        s << "    {\"" << c.name << "\", &" << c.name << "::staticMetaObject, &make<" << c.name << ">},\n";
    s << "};\n}  // namespace\n\n"
         "std::span<const WidgetClass> widgetClasses() { return kClasses; }\n\n"
         "const WidgetClass* findWidgetClass(std::string_view name) {\n"
         "    for (const WidgetClass& w : kClasses)\n"
         "        if (w.name == name) return &w;\n"
         "    return nullptr;\n}\n\n}  // namespace talvik\n";
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc < 2) throw Fail{"usage: talvik_widgetgen OUT CLASS..."};
        const std::filesystem::path dir = std::filesystem::path(argv[1]) / "hosts" / "qt" / "widgets";
        std::filesystem::create_directories(dir);
        std::vector<std::string> asked(argv + 2, argv + argc);
        std::vector<std::string> described;
        for (const ClassDesc& c : typeLibrary().classes) described.emplace_back(c.name);
        if (asked != described) {
            std::string list;
            for (const std::string& n : described) list += ' ' + n;
            throw Fail{"the build's list of widgets differs from the type description:" + list};
        }
        for (const ClassDesc& c : typeLibrary().classes) {
            std::ostringstream h, s;
            writeHeader(h, c);
            writeSource(s, c);
            writeIfChanged(dir / (std::string(c.name) + ".h"), h.str());
            writeIfChanged(dir / (std::string(c.name) + ".cpp"), s.str());
        }
        std::ostringstream h, s;
        writeRegistry(h, s);
        writeIfChanged(dir / "Widgets.h", h.str());
        writeIfChanged(dir / "Widgets.cpp", s.str());
        return 0;
    } catch (const Fail& f) {
        std::fprintf(stderr, "talvik_widgetgen: %s\n", f.what.c_str());
        return 1;
    }
}
