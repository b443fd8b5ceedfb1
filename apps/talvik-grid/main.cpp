// Prints the answer sheet that the headless host lays out for a property store given on
// the command line (KEY=VALUE, e.g. MaxItems=40 MaxCols=2): every question with the
// position of its number and of its four bubbles, in twips, column by column.
#include <cstdio>
#include <cstring>
#include <string>

#include "answer/Matrix.h"
#include "hosts/headless/HeadlessHost.h"

using namespace talvik;
using namespace talvik::controls;

int main(int argc, char** argv) {
    PropertyBag bag;
    for (int i = 1; i < argc; ++i) {
        const char* eq = std::strchr(argv[i], '=');
        if (eq == nullptr || (std::strcmp(argv[i], "--help") == 0)) {
            std::puts("usage: talvik-grid [MaxItemPerCol=N] [DistanceItems=N] [MaxCols=N] [MaxItems=N]");
            return eq == nullptr && std::strcmp(argv[i], "--help") != 0 ? 2 : 0;
        }
        bag.WriteProperty(std::string(argv[i], static_cast<std::size_t>(eq - argv[i])), std::string(eq + 1), Variant());
    }
    if (bag.entries().empty())
        bag = PropertyBag{{"MaxItemPerCol", std::int16_t{20}}, {"MaxCols", std::int16_t{2}}, {"MaxItems", std::int16_t{40}}};

    HeadlessHost host(Matrix::Class);
    try {
        host.Initialize();
        host.ReadProperties(bag);
    } catch (const HostError& e) {
        std::printf("error %d: %s\n", e.number, e.description.c_str());
        return 1;
    }
    const auto& m = static_cast<const Matrix&>(*host.control());
    std::printf("Answer sheet: %d questions, %d per column, %d columns, spacing %d; %s x %s twips\n", m.MaxItems(),
                m.MaxItemPerCol(), m.MaxCols(), m.DistanceItems(), shortestText(host.surface().Width()).c_str(),
                shortestText(host.surface().Height()).c_str());
    const auto& labels = host.labels("Label1");
    const ElementArray<Image> bubbles[4] = {host.images("Image1"), host.images("Image2"), host.images("Image3"),
                                            host.images("Image4")};
    for (std::int16_t i = 0; i < m.MaxItems(); ++i) {
        if (!labels(i).Visible()) continue;
        if (i % m.MaxItemPerCol() == 0) std::printf("\nColumn %d\n   Q  number at        A      B      C      D   row top\n", i / m.MaxItemPerCol() + 1);
        std::printf("%4s  (%6s,%7s)", labels(i).Caption().c_str(), shortestText(labels(i).Left()).c_str(),
                    shortestText(labels(i).Top()).c_str());
        for (const auto& b : bubbles) std::printf(" %6s", shortestText(b(i).Left()).c_str());
        std::printf("  %7s\n", shortestText(bubbles[0](i).Top()).c_str());
    }
    std::printf("\nBorder lines:\n");
    const auto& lines = host.lines("Line1");
    for (std::int16_t a = 0; a < lines.Count(); ++a)
        if (lines(a).Visible())
            std::printf("  Line1(%d): (%s, %s) to (%s, %s)\n", a, shortestText(lines(a).X1()).c_str(),
                        shortestText(lines(a).Y1()).c_str(), shortestText(lines(a).X2()).c_str(),
                        shortestText(lines(a).Y2()).c_str());
    const Image marker = host.image("imgArrow");
    std::printf("Marker beside question %d at (%s, %s)\n", m.RowSel() + 1, shortestText(marker.Left()).c_str(),
                shortestText(marker.Top()).c_str());
    return 0;
}
