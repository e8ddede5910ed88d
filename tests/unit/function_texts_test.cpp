// SPDX-License-Identifier: GPL-3.0-or-later
// Every language key the function lists and the editors show has a text in each of the
// four language files, so no key or button label ever shows a bare id.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "functions/function_editor.h"
#include "functions/function_lists.h"

namespace orvane::functions {
namespace {

std::set<std::string> IdsOf(const std::string& file) {
    std::ifstream in(std::string(ORVANE_SOURCE_DIR) + "/skin/" + file);
    std::stringstream text;
    text << in.rdbuf();
    const std::string xml = text.str();
    std::set<std::string> ids;
    const std::regex id("<Text id=\"([^\"]*)\">");
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), id); it != std::sregex_iterator(); ++it) {
        std::string value = (*it)[1];
        for (const auto& [escaped, plain] : {std::pair{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}}) {
            for (size_t at; (at = value.find(escaped)) != std::string::npos;) value.replace(at, std::string(escaped).size(), plain);
        }
        ids.insert(value);
    }
    return ids;
}

TEST(FunctionTexts, EveryShownIdHasATextInEveryLanguage) {
    std::set<std::string_view> shown{kFireKeyName, kKeySetTextId, kUnknownFunctionName};
    for (List list : {List(MouseButtonList), List(SwingList.horizontal), List(SwingList.vertical), List(DpiActionList),
                      List(MediaList), List(SystemList), List(KeyboardKeyList)})
        for (const auto& entry : list) shown.insert(entry.name);
    for (auto name : kCursorSequenceNames) shown.insert(name);
    for (auto name : kPlayModeItems) shown.insert(name);
    for (Categories categories : {Categories(kKeyboardCategories), Categories(kMouseCategories)})
        for (const auto& item : categories) shown.insert(item.textId);

    for (const char* file : {"lan_en.xml", "lan_cn.xml", "lan_sn.xml", "lan_jp.xml"}) {
        SCOPED_TRACE(file);
        const auto ids = IdsOf(file);
        ASSERT_GT(ids.size(), 100u);
        for (auto id : shown) EXPECT_TRUE(ids.count(std::string(id))) << id;
    }
}

}  // namespace
}  // namespace orvane::functions
