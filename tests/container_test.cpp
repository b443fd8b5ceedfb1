// talvik-container on short scripts: the whole output of each, worked out by hand from
// the container's protocol and the controls' behaviour, and its exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "frame/registry/Registry.h"

namespace talvik {
namespace {

namespace fs = std::filesystem;

// A path of its own for this process, so that suites running side by side do not meet.
fs::path scratch(const std::string& name) {
    return fs::path(::testing::TempDir()) / ("talvik-container-" + std::to_string(::getpid()) + "-" + name);
}

std::string quoted(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

struct Ran {
    std::string out;
    int status = -1;
};

// Runs the container with these arguments and the script on standard input.
Ran container(const std::string& script, const std::string& args = "") {
    const fs::path in = scratch("script.txt");
    std::ofstream(in, std::ios::binary) << script;
    Ran r;
    FILE* p = ::popen((quoted(TALVIK_CONTAINER_PATH) + " " + args + " < " + quoted(in.string())).c_str(), "r");
    if (p == nullptr) return r;
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) r.out.append(buf, n);
    const int status = ::pclose(p);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    fs::remove(in);
    return r;
}

std::string lines(std::initializer_list<const char*> ls) {
    std::string s;
    for (const char* l : ls) (s += l) += '\n';
    return s;
}

TEST(Container, ScriptsAndTheirWholeOutput) {
    const struct {
        const char* what;
        std::string script, expected;
        int status;
    } cases[] = {
        {"the protocol's own example",
         lines({"new Matrix m", "set m MaxItems 10", "fire m Image4(4) Click", "fire m Image1(6) Click",
                "fire m Image2(6) Click", "get m result", "get m RowSel", "dump m imgArrow"}),
         lines({R"j({"line":1,"new":"m","class":"Matrix","width":11070,"height":9780})j",
                R"j({"line":6,"get":"result","lbound":1,"value":["","","","","4","","1,2","","",""]})j",
                R"j({"line":7,"get":"RowSel","value":6})j",
                R"j({"line":8,"dump":"m","element":"imgArrow","kind":"image","Left":325,"Top":2470,"Width":120,)j"
                R"j("Height":120,"Picture":"tpl:imgArrow","Stretch":true,"Visible":true,"Enabled":true,)j"
                R"j("ToolTipText":""})j"}),
         0},
        {"a script with CR LF line endings, its last line without one",
         "# CR LF\r\nnew Matrix m\r\nset m MaxCols \"two\"\r\n\r\nget m MaxCols",
         lines({R"j({"line":2,"new":"m","class":"Matrix","width":11070,"height":9780})j",
                R"j({"line":3,"error":{"number":13,"description":"Type mismatch"}})j",
                R"j({"line":5,"get":"MaxCols","value":4})j"}),
         0},
        {"errors are reported, lines not understood too, and the script goes on",
         lines({"new Nothing x", "new vltGraphButton g", "new {1E2E8703-D9FD-48D0-9002-8B673A58920A} m",
                "set m MaxItems 40000", "set m MaxItems \"abc\"", "set m result 1", "get m Nope", "frobnicate",
                "get q MaxItems", "set m MaxItems abc", "fire m Image1(152) Click", "fire m Image9(1) Click",
                "new Matrix m", "fire m surface Click 1", "get m maxitems", "canunload", "destroy m", "canunload",
                "get m RowSel"}),
         lines({R"j({"line":1,"error":{"number":-2147221231,"description":"Class not available"}})j",
                R"j({"line":2,"error":{"number":-2147221231,"description":"Class not available"}})j",
                R"j({"line":3,"new":"m","class":"Matrix","width":11070,"height":9780})j",
                R"j({"line":4,"error":{"number":6,"description":"Overflow"}})j",
                R"j({"line":5,"error":{"number":13,"description":"Type mismatch"}})j",
                R"j({"line":6,"error":{"number":383,"description":"Property is read-only"}})j",
                R"j({"line":7,"error":{"number":438,"description":"Object doesn't support this property or method"}})j",
                R"j({"line":8,"syntax":"unknown command frobnicate"})j",
                R"j({"line":9,"syntax":"no control named q"})j", R"j({"line":10,"syntax":"not a value: abc"})j",
                R"j({"line":11,"error":{"number":340,"description":"Control array element '152' doesn't exist"}})j",
                R"j({"line":12,"syntax":"m has no element Image9(1)"})j", R"j({"line":13,"syntax":"the name m is taken"})j",
                R"j({"line":14,"syntax":"Click takes 0 arguments"})j", R"j({"line":15,"get":"maxitems","value":100})j",
                R"j({"line":16,"canunload":1})j", R"j({"line":18,"canunload":0})j",
                R"j({"line":19,"syntax":"no control named m"})j"}),
         2},
        {"keys on the surface move and mark; comments and blank lines count but print nothing",
         lines({"# an answer sheet", "", "   ", "new Matrix m", "  # indented comment", "set m MaxItems 3",
                "fire m surface KeyDown 40 0", "fire m surface KeyDown 68 0", "fire m Image1(0) MouseDown 1 0 10.5 20",
                "get m result", "get m RowSel"}),
         lines({R"j({"line":4,"new":"m","class":"Matrix","width":11070,"height":9780})j",
                R"j({"line":10,"get":"result","lbound":1,"value":["","4",""]})j",
                R"j({"line":11,"get":"RowSel","value":1})j"}),
         0},
        {"write reports every WriteProperty call; read takes values as written",
         lines({"new Matrix m", "write m", "read m MaxItems=12 DistanceItems=2.5 MaxCols=\"1\"", "get m DistanceItems",
                "get m MaxCols", "call m reset", "write m"}),
         lines({R"j({"line":1,"new":"m","class":"Matrix","width":11070,"height":9780})j",
                R"j({"line":2,"write":"m","bag":[["MaxItemPerCol",25,25],["DistanceItems",150,150],["MaxCols",4,4],)j"
                R"j(["MaxItems",100,100]]})j",
                R"j({"line":4,"get":"DistanceItems","value":2})j", R"j({"line":5,"get":"MaxCols","value":1})j",
                R"j({"line":6,"call":"reset","value":null})j",
                R"j({"line":7,"write":"m","bag":[["MaxItemPerCol",25,25],["DistanceItems",2,150],["MaxCols",1,4],)j"
                R"j(["MaxItems",12,100]]})j"}),
         0},
        {"the exam header's template, its caption read as TCVN3; resize reports the size after the call",
         lines({"new vltHeaderExam h", "dump h", "resize h 5000 4000.5", "resize h -1 10", "resize h 5000 \"x\"",
                "show h"}),
         lines({R"j({"line":1,"new":"h","class":"vltHeaderExam","width":9285,"height":4785})j",
                R"j({"line":2,"dump":"h","element":"surface","kind":"surface","Width":9285,"Height":4785,)j"
                R"j("BackStyle":1,"Picture":null})j",
                R"j({"line":2,"dump":"h","element":"Frame1","kind":"frame","Left":120,"Top":120,"Width":9015,)j"
                R"j("Height":4455})j",
                R"j({"line":2,"dump":"h","element":"Label1","kind":"label","Left":240,"Top":240,"Width":735,)j"
                R"j("Height":375,"Caption":"L)j"
                "\xe1\xbb\x9b"
                R"j(p:","ForeColor":2147483666,"Alignment":0,"FontSize":8.25,"Visible":true,"Enabled":true,)j"
                R"j("ToolTipText":""})j",
                R"j({"line":3,"resize":"h","width":5000,"height":4000.5})j",
                R"j({"line":4,"error":{"number":380,"description":"Invalid property value"}})j",
                R"j({"line":4,"resize":"h","width":5000,"height":4000.5})j",
                R"j({"line":5,"error":{"number":13,"description":"Type mismatch"}})j"}),
         0},
        {"dump names elements, and reports array elements that do not exist",
         lines({"new Matrix m", "set m MaxItems 2", "dump m Line1(0) Picture1(1) Line1(8)", "dump m Nothing"}),
         lines({R"j({"line":1,"new":"m","class":"Matrix","width":11070,"height":9780})j",
                R"j({"line":3,"dump":"m","element":"Line1(0)","kind":"line","X1":0,"Y1":22.5,"X2":0,"Y2":9757.5,)j"
                R"j("BorderColor":8421631,"BorderWidth":1,"Visible":true})j",
                R"j({"line":3,"dump":"m","element":"Picture1(1)","kind":"picturebox","Picture":"tpl:Picture1(1)",)j"
                R"j("Enabled":true})j",
                R"j({"line":3,"error":{"number":340,"description":"Control array element '8' doesn't exist"}})j",
                R"j({"line":4,"syntax":"m has no element Nothing"})j"}),
         2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Ran r = container(c.script);
        EXPECT_EQ(r.out, c.expected);
        EXPECT_EQ(r.status, c.status);
    }
}

// The hyperlink asks its container through GoToURL; the container's answers change what
// it opens, or stop it.
TEST(Container, EventsAndTheContainersAnswers) {
    const char* const press = "fire u lblURL MouseDown 1 0 0 0";
    const Ran r = container(lines({"new URLLink u", "set u URL \"http://a\"", press, "answer u GoToURL URL=\"http://b\"",
                                   press, "answer u GoToURL Cancel=true", press, "answer u GoToURL", "fail shell",
                                   press, "fire u lblURL MouseDown 2 0 0 0", "answer u GoToURL Cancel=\"maybe\"",
                                   "answer u Click", "answer u GoToURL Target=1"}));
    EXPECT_EQ(r.out,
              lines({R"j({"line":1,"new":"u","class":"URLLink","width":2400,"height":255})j",
                     R"j({"line":2,"changed":"URL","control":"u"})j",
                     R"j({"line":3,"event":"GoToURL","control":"u","args":{"URL":"http://a","Cancel":false}})j",
                     R"j({"line":3,"pointer":"hourglass"})j",
                     R"j({"line":3,"shell":{"verb":"open","target":"http://a","params":"","dir":"","show":1}})j",
                     R"j({"line":3,"pointer":"default"})j",
                     R"j({"line":5,"event":"GoToURL","control":"u","args":{"URL":"http://a","Cancel":false}})j",
                     R"j({"line":5,"pointer":"hourglass"})j",
                     R"j({"line":5,"shell":{"verb":"open","target":"http://b","params":"","dir":"","show":1}})j",
                     R"j({"line":5,"pointer":"default"})j",
                     R"j({"line":7,"event":"GoToURL","control":"u","args":{"URL":"http://a","Cancel":false}})j",
                     R"j({"line":10,"event":"GoToURL","control":"u","args":{"URL":"http://a","Cancel":false}})j",
                     R"j({"line":10,"pointer":"hourglass"})j",
                     R"j({"line":10,"msgbox":{"text":"Unable to load 'http://a' : Injected fault (Error 5)","flags":0,)j"
                     R"j("title":null}})j",
                     R"j({"line":10,"pointer":"default"})j", R"j({"line":11,"pointer":"default"})j",
                     R"j({"line":12,"error":{"number":13,"description":"Type mismatch"}})j",
                     R"j({"line":13,"syntax":"URLLink has no event Click"})j",
                     R"j({"line":14,"syntax":"GoToURL has no argument Target"})j"}));
    EXPECT_EQ(r.status, 2);
}

TEST(Container, TypeDescriptionOnOneLine) {
    const Ran r = container("typelib\n");
    EXPECT_EQ(r.status, 0);
    ASSERT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1);
    const char* const parts[] = {
        R"j({"line":1,"typelib":{"name":"TalvikSkills","file":"TalvikSkills.ocx",)j"
        R"j("id":"{AD8BC1B3-2D95-4C15-8B3B-16F2FE11DFD3}","version":"1.0","locale":1033,)j"
        R"j("fileVersion":"4.0.0.0","productVersion":"4.0.0.0","versionText":"4.00","productName":"TalvikControls",)j"
        R"j("selfRegistering":true,"classes":[{"name":"Banner",)j",
        R"j({"name":"Text","kind":"property","type":"string","let":true,"id":-517})j",
        R"j({"name":"reset","kind":"method","type":"void","id":1610809356})j",
        R"j({"name":"result","kind":"property","type":"string[]","let":false,"id":1745027072})j",
        R"j({"name":"GoToURL","id":1,"args":[{"name":"URL","type":"string","byRef":true},)j"
        R"j({"name":"Cancel","type":"bool","byRef":true}]})j",
        R"j({"name":"Baby_FireFox","value":5},{"name":"Classicbox","value":10}]})j",
    };
    for (const char* p : parts) EXPECT_NE(r.out.find(p), std::string::npos) << p;
}

TEST(Container, RegistersIntoTheStoreItIsGiven) {
    const fs::path dir = scratch("registry");
    fs::remove_all(dir);
    const std::string store = (dir / "registry.txt").string();
    const Ran r = container("register\nunregister\nregister\n", "--registry " + quoted(store));
    EXPECT_EQ(r.out, lines({R"j({"line":1,"register":0})j", R"j({"line":2,"unregister":0})j", R"j({"line":3,"register":0})j"}));
    RegistryData data;
    ASSERT_EQ(readRegistry(store, data), S_OK);
    ASSERT_EQ(data.size(), 12u);
    EXPECT_EQ(*data[1].value("Module"), fs::canonical(TALVIK_MODULE_PATH).string());
    EXPECT_EQ(container("unregister\n", "--registry " + quoted(store)).status, 0);
    ASSERT_EQ(readRegistry(store, data), S_OK);
    EXPECT_TRUE(data.empty());

    // A store it cannot read is reported by its result code.
    std::ofstream(store, std::ios::trunc) << "garbage\n";
    const Ran bad = container("register\n", "--registry " + quoted(store));
    EXPECT_EQ(bad.out, lines({R"j({"line":1,"register":-2147023887})j"}));
    fs::remove_all(dir);
}

TEST(Container, ModuleAndScriptArguments) {
    EXPECT_EQ(container("canunload\n", "--module /nonexistent/TalvikSkills.ocx").status, 1);
    EXPECT_EQ(container("", "--bogus").status, 1);
    const fs::path script = scratch("file.txt");
    std::ofstream(script) << "new Matrix m\nget m MaxItemPerCol\n";
    const Ran r = container("canunload\n", quoted(script.string()));  // the file, not standard input
    EXPECT_EQ(r.out, lines({R"j({"line":1,"new":"m","class":"Matrix","width":11070,"height":9780})j",
                            R"j({"line":2,"get":"MaxItemPerCol","value":25})j"}));
    fs::remove(script);
}

// The example the README quotes runs as written: its expected output is in its own
// comment lines after "# prints:".
TEST(Container, ExampleRunsAsDocumented) {
    std::ifstream in(std::string(TALVIK_SOURCE_DIR) + "/apps/talvik-container/example.txt");
    std::string script, expected;
    bool output = false;
    for (std::string line; std::getline(in, line);) {
        script += line + "\n";
        if (line == "# prints:") output = true;
        else if (output && line.rfind("# ", 0) == 0) expected += line.substr(2) + "\n";
    }
    ASSERT_FALSE(expected.empty());
    const Ran r = container(script);
    EXPECT_EQ(r.out, expected);
    EXPECT_EQ(r.status, 0);
}

}  // namespace
}  // namespace talvik
