// What the exam application takes from IMS QTI content: choice items with their text as a
// small HTML subset, the answer key where the item gives one, and the test's order.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace talvik::qti {

struct Choice {
    std::string identifier;
    std::string markup;  // HTML subset: p, em, strong, ul, ol, li, br, img with a resolved path
    bool fixed = false;
};

struct MapEntry {
    std::string key;
    double value = 0.0;
};

struct Item {
    std::string identifier;
    std::string title;
    std::string path;  // the file the item was read from
    bool delivered = false;
    std::string reason;  // why the item is not delivered, empty when it is

    std::string body;    // item body without the interaction
    std::string prompt;  // the interaction's prompt
    std::vector<Choice> choices;
    int maxChoices = 1;  // 0 = no limit
    int minChoices = 0;
    bool shuffle = false;

    std::vector<std::string> correctResponse;
    std::vector<MapEntry> mapping;
    std::optional<double> mappingDefault;
    std::optional<double> mappingLowerBound;
    std::optional<double> mappingUpperBound;
};

struct Section {
    std::string identifier;
    std::string title;
    std::vector<Item> items;
};

struct Test {
    std::string identifier;
    std::string title;
    std::vector<Section> sections;
    std::optional<double> maxTimeSeconds;

    std::vector<const Item*> items() const {
        std::vector<const Item*> all;
        for (const Section& s : sections)
            for (const Item& i : s.items) all.push_back(&i);
        return all;
    }
};

}  // namespace talvik::qti
