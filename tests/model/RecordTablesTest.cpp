// Walks every row of the record tables through every encoding: each row's field, set alone to a
// value of its own, must survive copies, the byte form and the stored table, and reach the
// applet encoding where the row says and the markup's data by its name. What an encoding
// deliberately leaves out is listed here, apart from the tables, so a row that an encoding forgets
// fails.
#include "CTesselFile.h"
#include "ModelFixtures.h"
#include "ModernMarkup.h"
#include "Paths.h"
#include "Records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <type_traits>

using namespace testing_model;
using foldline::Field;
using foldline::FieldKind;
using foldline::kNoSlot;

namespace {

const std::set<std::string> kNotStored = {"Look.Extra", "Applet.LocalPath"};
const std::set<std::string> kStoredNotReadBack = {"Menu.Name"};
const std::set<std::string> kNotInStyleCopy = {"Menu.Visible"};
// Not among the applet's values: they shape the HTML around them or the walk, the encoder sets
// them itself (a menu's TopOffset), or they are web folders checked through their files.
const std::set<std::string> kNotInAppletValues = {"Item.NormalImageWebPath",
                                                  "Item.OverImageWebPath",
                                                  "Item.ClickImageWebPath",
                                                  "Item.OverAudioWebPath",
                                                  "Item.ClickAudioWebPath",
                                                  "Item.Visible",
                                                  "Menu.Name",
                                                  "Menu.TopOffset",
                                                  "Menu.Visible",
                                                  "Look.Extra",
                                                  "Applet.WebPath",
                                                  "Applet.LocalPath",
                                                  "Applet.Name",
                                                  "Applet.Align",
                                                  "Applet.Width",
                                                  "Applet.Height",
                                                  "Applet.BackImageWebPath",
                                                  "Applet.AudioWebPath",
                                                  "Applet.FixedBox",
                                                  "Applet.CompactBelow",
                                                  "Applet.Direction"};
// Reaching the applet in another record's value.
const std::map<std::string, std::string> kAppletElsewhere = {{"Applet.MenuTop", "MStyle-0"}};
// The web folder of the applet class file rather than of a support file.
const std::string kCodebase = "Applet.WebPath";
// Carried, but the applet always reads 0 there.
const std::set<std::string> kAppletZero = {"Menu.Reserved1", "Menu.Reserved2"};
// Not in the data of the markup for today's browsers: the markup itself carries them or the walk
// reads them, the encoder sets them (a menu's TopOffset, from MenuTop), the applet alone reads
// them, or they are web folders that reach the data through their files.
const std::set<std::string> kNotInMarkupData = {"Item.Label",
                                                "Item.Description",
                                                "Item.NormalImageWebPath",
                                                "Item.OverImageWebPath",
                                                "Item.ClickImageWebPath",
                                                "Item.OverAudioWebPath",
                                                "Item.ClickAudioWebPath",
                                                "Item.TargetFrame",
                                                "Item.Link",
                                                "Item.Visible",
                                                "Menu.Name",
                                                "Menu.Reserved1",
                                                "Menu.Reserved2",
                                                "Menu.TopOffset",
                                                "Menu.Visible",
                                                "Look.Extra",
                                                "Applet.WebPath",
                                                "Applet.LocalPath",
                                                "Applet.Name",
                                                "Applet.Align",
                                                "Applet.BackImageWebPath",
                                                "Applet.AudioWebPath"};

template <class... F> struct Overloaded : F... { using F::operator()...; };
template <class... F> Overloaded(F...) -> Overloaded<F...>;

std::string Show(const StateStyle& look);

template <typename R> std::string Show(const R& record, const Field<R>& f) {
    return std::visit(Overloaded{[&](std::string R::*m) { return record.*m; },
                                 [&](int R::*m) { return std::to_string(record.*m); },
                                 [&](COLORREF R::*m) { return std::to_string(record.*m); },
                                 [&](StateStyle R::*m) { return Show(record.*m); }},
                      f.member);
}

std::string Show(const StateStyle& look) {
    std::string out;
    for (const auto& f : foldline::kLookFields)
        out += std::string(f.name) + "=" + Show(look, f) + ";";
    return out;
}

std::string DistinctFile(const char* name) {
    return std::string("D:\\pics\\") + name + ".gif";
}

// A value unlike the default that every encoding can carry (no comma, no line break).
template <typename R> void SetDistinct(R& record, const Field<R>& f) {
    std::visit(Overloaded{[&](std::string R::*m) {
                              record.*m = f.kind == FieldKind::File ? DistinctFile(f.name)
                                                                    : std::string("v") + f.name;
                          },
                          [&](int R::*m) { record.*m += 2; },
                          [&](COLORREF R::*m) { record.*m ^= 0x123456u; },
                          [&](StateStyle R::*m) { record.*m = DistinctStyle(7); }},
               f.member);
}

// The value after the stored table: files come back in the reading folder, looks without Extra.
template <typename R> std::string StoredShow(const R& record, const Field<R>& f) {
    if (f.kind == FieldKind::File && !Show(record, f).empty())
        return "/site/" + FileNameOfPath(Show(record, f));
    if (f.kind == FieldKind::Look) {
        StateStyle look = foldline::LookOf(record, f);
        look.Extra.clear();
        return Show(look);
    }
    return Show(record, f);
}

// A widget with one top-level menu whose first item has a sub-menu with an item, so every kind
// of record is emitted by every encoding.
struct Sample {
    CAppletParameters applet;
    CFurlinItem* item;
    Sample() : item(applet.InsertNewMenu()->InsertNewItem()) {
        item->GetSubMenu()->InsertNewItem();
    }
};

template <typename R> struct TableCase {
    const char* table;
    std::span<const Field<R>> fields;
    // The record checked through the stored table and the applet encoding.
    R& (*inWidget)(CAppletParameters&);
    // The record checked through copies and the byte form: the item or a part of its sub-tree
    // (null for the applet, which Assign copies and no byte form holds).
    R* (*inItem)(CFurlinItem&);
    const char* storedValue;
    const char* appletValue;
};

std::string Qualified(const char* table, const char* name) {
    return std::string(table) + "." + name;
}

std::vector<std::string> Cut(const std::string& value) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t comma; (comma = value.find(',', start)) != std::string::npos;
         start = comma + 1)
        fields.push_back(value.substr(start, comma - start));
    fields.push_back(value.substr(start));
    return fields;
}

using Params = std::vector<std::pair<std::string, std::string>>;

// Positions at which parameter `name` differs, after checking every other one is unchanged.
std::set<int> Changed(const Params& before, const Params& after, const std::string& name) {
    EXPECT_EQ(before.size(), after.size());
    std::set<int> changed;
    for (std::size_t p = 0; p < std::min(before.size(), after.size()); ++p) {
        EXPECT_EQ(before[p].first, after[p].first);
        if (before[p].first != name) {
            EXPECT_EQ(before[p].second, after[p].second) << before[p].first;
            continue;
        }
        const auto a = Cut(before[p].second), b = Cut(after[p].second);
        EXPECT_EQ(a.size(), b.size()) << name;
        for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
            if (a[i] != b[i])
                changed.insert(static_cast<int>(i));
    }
    return changed;
}

Params Stored(CAppletParameters& applet) {
    CTesselFile document;
    applet.WriteParameters(document);
    return document.Parameters().Entries();
}

// The positions a row says it is written at; a look's group spans its width.
std::set<int> Declared(int at, int againAt, bool look, std::size_t width, std::size_t stride) {
    std::set<int> positions;
    for (int p : {at, againAt})
        for (std::size_t i = 0; p != kNoSlot && i < (look ? width : 1); ++i)
            positions.insert(look ? p * static_cast<int>(stride) + static_cast<int>(i) : p);
    return positions;
}

template <typename R> void CheckCopiesAndByteForm(const TableCase<R>& table, const Field<R>& f) {
    Sample changed;
    if constexpr (std::is_same_v<R, CAppletParameters>) {
        SetDistinct(changed.applet, f);
        CAppletParameters copy;
        copy.Assign(changed.applet);
        EXPECT_EQ(Show(copy, f), Show(changed.applet, f)) << "through Assign";
    } else {
        R& source = *table.inItem(*changed.item);
        SetDistinct(source, f);
        CFurlinItem copy(*changed.item);
        EXPECT_EQ(Show(*table.inItem(copy), f), Show(source, f)) << "through a copy";
        CFurlinItem pasted;
        ASSERT_TRUE(pasted.FromBytes(changed.item->ToBytes()));
        EXPECT_EQ(Show(*table.inItem(pasted), f), Show(source, f)) << "through the bytes";
    }
}

// The settings for today's browsers have an entry of their own, written only when one of them is
// set, so a widget that leaves them alone keeps every entry it had.
template <typename R>
void CheckWebStyle(CAppletParameters& plain, CAppletParameters& changed, const Field<R>& f) {
    const auto find = [](const Params& params) {
        const auto at = std::find_if(params.begin(), params.end(),
                                     [](const auto& p) { return p.first == "WebStyle"; });
        return at == params.end() ? std::optional<std::string>() : at->second;
    };
    Params before = Stored(plain), after = Stored(changed);
    EXPECT_FALSE(find(before).has_value()) << "written while unset";
    const std::optional<std::string> value = find(after);
    ASSERT_TRUE(value.has_value()) << "not written when set";
    std::erase_if(after, [](const auto& p) { return p.first == "WebStyle"; });
    EXPECT_EQ(after, before) << "every other entry as without it";
    const auto fields = Cut(*value), defaults = Cut("0,640,0");
    ASSERT_EQ(fields.size(), defaults.size());
    for (std::size_t i = 0; i < fields.size(); ++i)
        EXPECT_EQ(fields[i] != defaults[i], static_cast<int>(i) == f.storedAt) << i;
}

template <typename R> void CheckStoredTable(const TableCase<R>& table, const Field<R>& f) {
    const std::string name = Qualified(table.table, f.name);
    Sample plain, changed;
    R& record = table.inWidget(changed.applet);
    SetDistinct(record, f);
    CTesselFile document;
    changed.applet.WriteParameters(document);
    CAppletParameters read;
    ASSERT_TRUE(read.ReadParameters(document, "/site/"));
    const R& back = table.inWidget(read);
    if (kNotStored.count(name) || kStoredNotReadBack.count(name))
        EXPECT_EQ(Show(back, f), Show(table.inWidget(plain.applet), f)) << "is not read back";
    else
        EXPECT_EQ(Show(back, f), StoredShow(record, f)) << "through the stored table";
    if (kNotStored.count(name))
        return;
    if (f.storedIn == foldline::StoredIn::WebStyle) {
        CheckWebStyle(plain.applet, changed.applet, f);
        return;
    }
    const bool look = f.kind == FieldKind::Look;
    const std::size_t lookWidth =
        foldline::kStoredOrder<foldline::kLookFields, foldline::Rows::Values>.size();
    EXPECT_EQ(Changed(Stored(plain.applet), Stored(changed.applet),
                      look ? "IStyle-0" : table.storedValue),
              Declared(f.storedAt, f.storedAgainAt, look, lookWidth,
                       lookWidth + foldline::kLookGroupPadding))
        << "is stored where its row says";
}

template <typename R> void CheckAppletValue(const TableCase<R>& table, const Field<R>& f) {
    const std::string name = Qualified(table.table, f.name);
    Sample plain, changed;
    SetDistinct(table.inWidget(changed.applet), f);
    const bool look = f.kind == FieldKind::Look;
    const auto elsewhere = kAppletElsewhere.find(name);
    const std::set<int> changedAt =
        Changed(plain.applet.BuildAppletParams(kHtmlWeb, ""),
                changed.applet.BuildAppletParams(kHtmlWeb, ""),
                elsewhere != kAppletElsewhere.end() ? elsewhere->second
                                                    : (look ? "IStyle-0" : table.appletValue));
    if (elsewhere != kAppletElsewhere.end()) {
        EXPECT_FALSE(changedAt.empty()) << "never reaches " << elsewhere->second;
        return;
    }
    if (kNotInAppletValues.count(name) || kAppletZero.count(name)) {
        EXPECT_TRUE(changedAt.empty()) << "must not reach the applet's values";
        return;
    }
    const std::size_t lookWidth =
        foldline::kAppletOrder<foldline::kLookFields, foldline::Rows::Values>.size();
    EXPECT_FALSE(changedAt.empty()) << "never reaches the applet";
    EXPECT_EQ(changedAt, Declared(f.appletAt, f.appletAgainAt, look, lookWidth,
                                  lookWidth + foldline::kLookGroupPadding))
        << "is written where its row says";
}

// A web folder reaches the applet inside the reference of the file whose web folder it is.
template <typename R> void CheckWebFolder(const TableCase<R>& table, const Field<R>& f) {
    if (Qualified(table.table, f.name) == kCodebase) {
        Sample changed;
        SetDistinct(table.inWidget(changed.applet), f);
        CTesselFile document;
        EXPECT_NE(changed.applet.GetAppletHtml(document, kHtmlWeb).find("codebase=\"vWebPath\""),
                  std::string::npos);
        return;
    }
    const Field<R>* file = nullptr;
    for (const Field<R>& other : table.fields)
        if (other.kind == FieldKind::File &&
            other.webFolder == std::get<std::string R::*>(f.member))
            file = &other;
    ASSERT_NE(file, nullptr) << "is the web folder of no file";
    Sample changed;
    R& record = table.inWidget(changed.applet);
    foldline::TextOf(record, *file) = "/pics/x.gif";
    SetDistinct(record, f);
    std::string value;
    for (const auto& [param, text] : changed.applet.BuildAppletParams(kHtmlWeb, ""))
        if (param == table.appletValue)
            value = Cut(text)[static_cast<std::size_t>(file->appletAt)];
    EXPECT_EQ(value, "v" + std::string(f.name) + "x.gif");
}

// The data attributes of the web markup, in document order.
std::vector<std::string> MarkupData(const CAppletParameters& applet) {
    ModernMarkupOptions options;
    options.mode = kHtmlWeb;
    const std::string html = ModernMarkup(applet, options);
    std::vector<std::string> data;
    const std::string attribute = " data-furlin=\"";
    for (std::size_t at = 0; (at = html.find(attribute, at)) != std::string::npos;) {
        at += attribute.size();
        data.push_back(html.substr(at, html.find('"', at) - at));
    }
    return data;
}

// The value as the data holds it, attribute-escaped; a look is an object.
template <typename R> std::string MarkupValue(const R& record, const Field<R>& f) {
    switch (f.kind) {
    case FieldKind::Number:
        return Show(record, f);
    case FieldKind::Colour:
        return "&quot;#" + CAppletParameters::ColorToHex(foldline::ColourOf(record, f)) + "&quot;";
    case FieldKind::Look:
        return "{";
    case FieldKind::File:
        return "&quot;" + FileNameOfPath(Show(record, f)) + "&quot;";
    default:
        return "&quot;" + Show(record, f) + "&quot;";
    }
}

template <typename R> void CheckMarkupData(const TableCase<R>& table, const Field<R>& f) {
    Sample plain, changed;
    R& record = table.inWidget(changed.applet);
    SetDistinct(record, f);
    const std::vector<std::string> before = MarkupData(plain.applet);
    const std::vector<std::string> after = MarkupData(changed.applet);
    if (kNotInMarkupData.count(Qualified(table.table, f.name))) {
        EXPECT_EQ(after, before) << "must not reach the markup's data";
        return;
    }
    // An item's data is left out while it holds nothing.
    const std::string named = "&quot;" + std::string(f.name) + "&quot;:" + MarkupValue(record, f);
    std::size_t holding = 0;
    for (const std::string& data : after)
        if (std::find(before.begin(), before.end(), data) == before.end())
            holding += data.find(named) != std::string::npos;
    EXPECT_GE(holding, 1u) << "never reaches the markup's data as " << named;
}

template <typename R> void WalkTable(const TableCase<R>& table) {
    for (const Field<R>& f : table.fields) {
        SCOPED_TRACE(Qualified(table.table, f.name));
        CheckCopiesAndByteForm(table, f);
        CheckStoredTable(table, f);
        CheckAppletValue(table, f);
        CheckMarkupData(table, f);
        if (f.kind == FieldKind::WebFolder)
            CheckWebFolder(table, f);
    }
}

CFurlin& TopMenu(CAppletParameters& applet) {
    return *applet.Menus()[0];
}

TEST(RecordTables, EveryItemFieldTravelsThroughEveryEncoding) {
    WalkTable(TableCase<CFurlinItem>{
        "Item", foldline::kItemFields,
        [](CAppletParameters& a) -> CFurlinItem& { return *TopMenu(a).GetItem(0); },
        [](CFurlinItem& i) { return &i; }, "I0-1", "I0-0"});
}

TEST(RecordTables, EveryMenuFieldTravelsThroughEveryEncoding) {
    WalkTable(TableCase<CFurlin>{"Menu", foldline::kMenuFields, TopMenu,
                                 [](CFurlinItem& i) { return i.GetSubMenu(); }, "MStyle-0",
                                 "MStyle-0"});
}

TEST(RecordTables, EveryLookFieldTravelsThroughEveryEncoding) {
    WalkTable(TableCase<StateStyle>{
        "Look", foldline::kLookFields,
        [](CAppletParameters& a) -> StateStyle& { return TopMenu(a).Normal; },
        [](CFurlinItem& i) { return &i.GetSubMenu()->Normal; }, "IStyle-0", "IStyle-0"});
}

TEST(RecordTables, EveryAppletFieldTravelsThroughEveryEncoding) {
    WalkTable(
        TableCase<CAppletParameters>{"Applet", foldline::kAppletFields,
                                     [](CAppletParameters& a) -> CAppletParameters& { return a; },
                                     nullptr, "ApStyle", "ApStyle"});
}

TEST(RecordTables, CopyStyleTakesEveryMenuFieldButVisibility) {
    for (const auto& f : foldline::kMenuFields) {
        const std::string name = Qualified("Menu", f.name);
        CFurlin from, to;
        SetDistinct(from, f);
        to.CopyStyle(from);
        EXPECT_EQ(Show(to, f), Show(kNotInStyleCopy.count(name) ? CFurlin() : from, f)) << name;
    }
}

TEST(RecordTables, MenuTopIsTheFirstMenusTopOffset) {
    Sample sample;
    sample.applet.MenuTop = 77;
    const auto params = sample.applet.BuildAppletParams(kHtmlWeb, "");
    ASSERT_GE(params.size(), 2u);
    const auto row = std::find_if(foldline::kMenuFields.begin(), foldline::kMenuFields.end(),
                                  [](const auto& f) { return std::string(f.name) == "TopOffset"; });
    ASSERT_NE(row, foldline::kMenuFields.end());
    EXPECT_EQ(Cut(params[1].second)[static_cast<std::size_t>(row->appletAt)], "77");
}

} // namespace
