// The fields of the model's records, each described once. Copies, the byte form, the stored
// table, the applet encoding and the markup for today's browsers all loop over these tables, so a
// new field is one row here (plus its control on a page).
#pragma once

#include "CAppletParameters.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <variant>

namespace foldline {

// What a field holds; every encoding writes a value by its kind.
enum class FieldKind {
    Text,      // free text
    File,      // full local path of a support file; on the web it is its web folder + file name
    WebFolder, // folder or URL prefix that a file name is appended to as it is
    Number,    // 32-bit integer: sizes, offsets, choices and flags
    Colour,    // 0x00BBGGRR
    Look,      // a StateStyle record (the menus' three looks)
};

// The applet's form of a value where it is not the plain form of its kind (decimal number,
// six-digit hexadecimal colour, raw text, resolved file).
enum class AppletForm {
    Plain,
    Label,          // CR LF pairs and commas escaped
    Commas,         // commas escaped
    SelfWhenEmpty,  // an empty text is "_self"
    BackStyleCode,  // a menu's background 0..3 as "01", "02", "11", "12"
    BackgroundCode, // the applet's background: 1 filled, else the look's vertical gradient code
    PlusOne,        // a look's border counted from 1
    Zero,           // the applet reads 0 here whatever the value
};

inline constexpr int kNoSlot = -1;

// The stored value a row belongs to: its record's own, or "WebStyle", which holds the applet's
// settings for today's browsers apart so that readers that predate them skip them.
enum class StoredIn { Own, WebStyle };
// Numbers the applet reads run together in one field hold at most this many parts.
inline constexpr int kMaxParts = 3;

// One row: the field's name in the model, its member and kind, and its place in each
// comma-separated encoding (its position in the value; for a look, its group's position among
// the menu's looks). The byte form holds every row, in table order.
template <typename Record> struct Field {
    using Member = std::variant<std::string Record::*, int Record::*, COLORREF Record::*,
                                StateStyle Record::*>;

    const char* name;
    FieldKind kind;
    Member member;
    std::string Record::*webFolder = nullptr; // a file's web folder
    bool visibility = false;                  // shows or hides the node; not part of its style
    bool inMarkup = false; // carried by name in the data of the markup for today's browsers

    int storedAt = kNoSlot;
    int storedAgainAt = kNoSlot; // a second copy that is written and never read
    bool storedReadBack = true;
    StoredIn storedIn = StoredIn::Own;

    int appletAt = kNoSlot;
    int appletAgainAt = kNoSlot;
    int appletPart = 0; // place among the numbers run together in one applet field
    AppletForm appletForm = AppletForm::Plain;

    constexpr Field Stored(int at, int againAt = kNoSlot) const {
        Field f = *this;
        f.storedAt = at;
        f.storedAgainAt = againAt;
        return f;
    }
    constexpr Field StoredInWebStyle(int at) const {
        Field f = Stored(at);
        f.storedIn = StoredIn::WebStyle;
        return f;
    }
    constexpr Field StoredNotReadBack(int at) const {
        Field f = Stored(at);
        f.storedReadBack = false;
        return f;
    }
    constexpr Field Applet(int at, AppletForm form = AppletForm::Plain) const {
        return AppletPart(at, 0, form);
    }
    constexpr Field AppletTwice(int at, int againAt) const {
        Field f = Applet(at);
        f.appletAgainAt = againAt;
        return f;
    }
    constexpr Field AppletPart(int at, int part, AppletForm form = AppletForm::Plain) const {
        Field f = *this;
        f.appletAt = at;
        f.appletPart = part;
        f.appletForm = form;
        return f;
    }
    constexpr Field InMarkup() const {
        Field f = *this;
        f.inMarkup = true;
        return f;
    }
    constexpr Field Visibility() const {
        Field f = *this;
        f.visibility = true;
        return f;
    }
};

template <typename R> constexpr Field<R> TextField(const char* name, std::string R::*m) {
    return {name, FieldKind::Text, m};
}
template <typename R>
constexpr Field<R> FileField(const char* name, std::string R::*m, std::string R::*webFolder) {
    return {name, FieldKind::File, m, webFolder};
}
template <typename R> constexpr Field<R> WebFolderField(const char* name, std::string R::*m) {
    return {name, FieldKind::WebFolder, m};
}
template <typename R> constexpr Field<R> NumberField(const char* name, int R::*m) {
    return {name, FieldKind::Number, m};
}
template <typename R> constexpr Field<R> ColourField(const char* name, COLORREF R::*m) {
    return {name, FieldKind::Colour, m};
}
template <typename R> constexpr Field<R> LookField(const char* name, StateStyle R::*m) {
    return {name, FieldKind::Look, m};
}

// The name and the member of a row from one spelling, so the two never drift apart.
#define FOLDLINE_MEMBER(Record, member) #member, &Record::member

// An item's texts and flag (its sub-menu is the tree's, not a field).
inline constexpr std::array kItemFields = {
    TextField(FOLDLINE_MEMBER(CFurlinItem, Label)).Stored(0).Applet(0, AppletForm::Label),
    TextField(FOLDLINE_MEMBER(CFurlinItem, Description)).Stored(1).Applet(1),
    FileField(FOLDLINE_MEMBER(CFurlinItem, NormalImage), &CFurlinItem::NormalImageWebPath)
        .Stored(4)
        .Applet(2)
        .InMarkup(),
    WebFolderField(FOLDLINE_MEMBER(CFurlinItem, NormalImageWebPath)).Stored(10),
    FileField(FOLDLINE_MEMBER(CFurlinItem, OverImage), &CFurlinItem::OverImageWebPath)
        .Stored(5)
        .Applet(3)
        .InMarkup(),
    WebFolderField(FOLDLINE_MEMBER(CFurlinItem, OverImageWebPath)).Stored(11),
    FileField(FOLDLINE_MEMBER(CFurlinItem, ClickImage), &CFurlinItem::ClickImageWebPath)
        .Stored(6)
        .Applet(4)
        .InMarkup(),
    WebFolderField(FOLDLINE_MEMBER(CFurlinItem, ClickImageWebPath)).Stored(12),
    FileField(FOLDLINE_MEMBER(CFurlinItem, OverAudio), &CFurlinItem::OverAudioWebPath)
        .Stored(7)
        .Applet(5)
        .InMarkup(),
    WebFolderField(FOLDLINE_MEMBER(CFurlinItem, OverAudioWebPath)).Stored(13),
    FileField(FOLDLINE_MEMBER(CFurlinItem, ClickAudio), &CFurlinItem::ClickAudioWebPath)
        .Stored(8)
        .Applet(6)
        .InMarkup(),
    WebFolderField(FOLDLINE_MEMBER(CFurlinItem, ClickAudioWebPath)).Stored(14),
    TextField(FOLDLINE_MEMBER(CFurlinItem, TargetFrame))
        .Stored(3)
        .Applet(7, AppletForm::SelfWhenEmpty),
    TextField(FOLDLINE_MEMBER(CFurlinItem, Link)).Stored(2).Applet(8),
    NumberField(FOLDLINE_MEMBER(CFurlinItem, Visible)).Stored(9).Visibility(),
};

// A menu's values (its items are the tree's; Number belongs to one encoding pass). The looks'
// positions are their groups in the menu's look parameter.
inline constexpr std::array kMenuFields = {
    TextField(FOLDLINE_MEMBER(CFurlin, Name)).StoredNotReadBack(10),
    ColourField(FOLDLINE_MEMBER(CFurlin, BackColor)).Stored(0).Applet(0).InMarkup(),
    NumberField(FOLDLINE_MEMBER(CFurlin, BackStyle))
        .Stored(1)
        .Applet(1, AppletForm::BackStyleCode)
        .InMarkup(),
    NumberField(FOLDLINE_MEMBER(CFurlin, Reserved1)).Stored(2).Applet(2, AppletForm::Zero),
    NumberField(FOLDLINE_MEMBER(CFurlin, Reserved2)).Stored(3).Applet(3, AppletForm::Zero),
    NumberField(FOLDLINE_MEMBER(CFurlin, Indent)).Stored(4).Applet(4).InMarkup(),
    NumberField(FOLDLINE_MEMBER(CFurlin, TopOffset)).Stored(5).Applet(5).InMarkup(),
    NumberField(FOLDLINE_MEMBER(CFurlin, ItemWidth)).Stored(6).Applet(6).InMarkup(),
    NumberField(FOLDLINE_MEMBER(CFurlin, ItemHeight)).Stored(7).Applet(7).InMarkup(),
    NumberField(FOLDLINE_MEMBER(CFurlin, ItemGap)).Stored(8).Applet(8).InMarkup(),
    NumberField(FOLDLINE_MEMBER(CFurlin, ItemBorder)).Stored(9).Applet(9).InMarkup(),
    LookField(FOLDLINE_MEMBER(CFurlin, Normal)).Stored(0).Applet(0).InMarkup(),
    LookField(FOLDLINE_MEMBER(CFurlin, Over)).Stored(1).Applet(1).InMarkup(),
    LookField(FOLDLINE_MEMBER(CFurlin, Click)).Stored(2).Applet(2).InMarkup(),
    NumberField(FOLDLINE_MEMBER(CFurlin, Visible)).Stored(11).Visibility(),
};

// A state look. Extra only travels in copies and the byte form.
inline constexpr std::array kLookFields = {
    ColourField(FOLDLINE_MEMBER(StateStyle, BackColor)).Stored(0).Applet(0).InMarkup(),
    ColourField(FOLDLINE_MEMBER(StateStyle, FontColor)).Stored(1).Applet(1).InMarkup(),
    NumberField(FOLDLINE_MEMBER(StateStyle, Border))
        .Stored(12)
        .AppletPart(2, 2, AppletForm::PlusOne)
        .InMarkup(),
    NumberField(FOLDLINE_MEMBER(StateStyle, BackKind)).Stored(2).AppletPart(2, 1).InMarkup(),
    NumberField(FOLDLINE_MEMBER(StateStyle, GradientDir)).Stored(11).AppletPart(2, 0).InMarkup(),
    NumberField(FOLDLINE_MEMBER(StateStyle, Effect)).Stored(3).Applet(3).InMarkup(),
    NumberField(FOLDLINE_MEMBER(StateStyle, FontName)).Stored(4).Applet(4).InMarkup(),
    NumberField(FOLDLINE_MEMBER(StateStyle, FontSize)).Stored(5).Applet(5).InMarkup(),
    NumberField(FOLDLINE_MEMBER(StateStyle, FontStyle)).Stored(6).Applet(6).InMarkup(),
    NumberField(FOLDLINE_MEMBER(StateStyle, TextAlign)).Stored(8).AppletPart(7, 1).InMarkup(),
    NumberField(FOLDLINE_MEMBER(StateStyle, TextOffset)).Stored(10).Applet(9).InMarkup(),
    NumberField(FOLDLINE_MEMBER(StateStyle, ImageAlign)).Stored(7).AppletPart(7, 0).InMarkup(),
    NumberField(FOLDLINE_MEMBER(StateStyle, ImageOffset)).Stored(9).Applet(8).InMarkup(),
    TextField(FOLDLINE_MEMBER(StateStyle, Extra)),
};

// The applet-wide fields. WebPath, Name, Align, Width and Height shape the HTML around the
// parameters, MenuTop the first menu's TopOffset; LocalPath is this disk's and is only copied.
inline constexpr std::array kAppletFields = {
    WebFolderField(FOLDLINE_MEMBER(CAppletParameters, WebPath)).Stored(25),
    TextField(FOLDLINE_MEMBER(CAppletParameters, LocalPath)),
    TextField(FOLDLINE_MEMBER(CAppletParameters, Name)).Stored(0),
    NumberField(FOLDLINE_MEMBER(CAppletParameters, Align)).Stored(1),
    NumberField(FOLDLINE_MEMBER(CAppletParameters, Width)).Stored(2).InMarkup(),
    NumberField(FOLDLINE_MEMBER(CAppletParameters, Height)).Stored(3).InMarkup(),
    ColourField(FOLDLINE_MEMBER(CAppletParameters, BackColor))
        .Stored(4, 5)
        .AppletTwice(0, 1)
        .InMarkup(),
    FileField(FOLDLINE_MEMBER(CAppletParameters, BackImage), &CAppletParameters::BackImageWebPath)
        .Stored(6)
        .Applet(2)
        .InMarkup(),
    WebFolderField(FOLDLINE_MEMBER(CAppletParameters, BackImageWebPath)).Stored(23),
    NumberField(FOLDLINE_MEMBER(CAppletParameters, ImageTile)).Stored(7).Applet(3).InMarkup(),
    NumberField(FOLDLINE_MEMBER(CAppletParameters, ImageX)).Stored(8).Applet(4).InMarkup(),
    NumberField(FOLDLINE_MEMBER(CAppletParameters, ImageY)).Stored(9).Applet(5).InMarkup(),
    FileField(FOLDLINE_MEMBER(CAppletParameters, Audio), &CAppletParameters::AudioWebPath)
        .Stored(10)
        .Applet(6)
        .InMarkup(),
    WebFolderField(FOLDLINE_MEMBER(CAppletParameters, AudioWebPath)).Stored(24),
    NumberField(FOLDLINE_MEMBER(CAppletParameters, ShowSelectionAlways))
        .Stored(11)
        .Applet(7)
        .InMarkup(),
    NumberField(FOLDLINE_MEMBER(CAppletParameters, OpenSpeed)).Stored(12).Applet(8).InMarkup(),
    NumberField(FOLDLINE_MEMBER(CAppletParameters, CloseSpeed)).Stored(13).Applet(9).InMarkup(),
    NumberField(FOLDLINE_MEMBER(CAppletParameters, DisplayAllBranches))
        .Stored(14)
        .Applet(10)
        .InMarkup(),
    NumberField(FOLDLINE_MEMBER(CAppletParameters, HasLines)).Stored(15).Applet(11).InMarkup(),
    NumberField(FOLDLINE_MEMBER(CAppletParameters, BackBorder))
        .Stored(16)
        .AppletPart(12, 2)
        .InMarkup(),
    NumberField(FOLDLINE_MEMBER(CAppletParameters, BackKind))
        .Stored(17)
        .AppletPart(12, 1, AppletForm::BackgroundCode)
        .InMarkup(),
    NumberField(FOLDLINE_MEMBER(CAppletParameters, GradientDir))
        .Stored(18)
        .AppletPart(12, 0)
        .InMarkup(),
    NumberField(FOLDLINE_MEMBER(CAppletParameters, LineIndent)).Stored(19).Applet(13).InMarkup(),
    NumberField(FOLDLINE_MEMBER(CAppletParameters, LineThick)).Stored(20).Applet(14).InMarkup(),
    ColourField(FOLDLINE_MEMBER(CAppletParameters, LineColor)).Stored(21).Applet(15).InMarkup(),
    NumberField(FOLDLINE_MEMBER(CAppletParameters, MenuTop)).Stored(22).InMarkup(),
    NumberField(FOLDLINE_MEMBER(CAppletParameters, ProgressBar)).Stored(26).Applet(16).InMarkup(),
    TextField(FOLDLINE_MEMBER(CAppletParameters, LoadingMessage))
        .Stored(27)
        .Applet(17, AppletForm::Commas)
        .InMarkup(),
    NumberField(FOLDLINE_MEMBER(CAppletParameters, FixedBox)).StoredInWebStyle(0).InMarkup(),
    NumberField(FOLDLINE_MEMBER(CAppletParameters, CompactBelow)).StoredInWebStyle(1).InMarkup(),
    NumberField(FOLDLINE_MEMBER(CAppletParameters, Direction)).StoredInWebStyle(2).InMarkup(),
};

#undef FOLDLINE_MEMBER

// ---- Access by kind ----

template <typename R> std::string& TextOf(R& record, const Field<R>& f) {
    return record.*std::get<std::string R::*>(f.member);
}
template <typename R> const std::string& TextOf(const R& record, const Field<R>& f) {
    return record.*std::get<std::string R::*>(f.member);
}
template <typename R> int& NumberOf(R& record, const Field<R>& f) {
    return record.*std::get<int R::*>(f.member);
}
template <typename R> int NumberOf(const R& record, const Field<R>& f) {
    return record.*std::get<int R::*>(f.member);
}
template <typename R> COLORREF& ColourOf(R& record, const Field<R>& f) {
    return record.*std::get<COLORREF R::*>(f.member);
}
template <typename R> COLORREF ColourOf(const R& record, const Field<R>& f) {
    return record.*std::get<COLORREF R::*>(f.member);
}
template <typename R> StateStyle& LookOf(R& record, const Field<R>& f) {
    return record.*std::get<StateStyle R::*>(f.member);
}
template <typename R> const StateStyle& LookOf(const R& record, const Field<R>& f) {
    return record.*std::get<StateStyle R::*>(f.member);
}

// Copies the fields that `keep` accepts.
template <typename R, std::size_t N, typename Keep>
void CopyFields(R& to, const R& from, const std::array<Field<R>, N>& fields, Keep keep) {
    for (const Field<R>& f : fields)
        if (keep(f))
            std::visit([&](auto member) { to.*member = from.*member; }, f.member);
}
template <typename R, std::size_t N>
void CopyFields(R& to, const R& from, const std::array<Field<R>, N>& fields) {
    CopyFields(to, from, fields, [](const Field<R>&) { return true; });
}

// ---- Layouts of the comma-separated values, checked when compiled ----

// Which rows a layout places: the plain values of a record, a menu's look groups, or the
// applet's settings for today's browsers ("WebStyle").
enum class Rows { Values, Looks, WebStyle };

template <typename R> constexpr bool Placed(const Field<R>& f, Rows rows) {
    if ((f.storedIn == StoredIn::WebStyle) != (rows == Rows::WebStyle))
        return false;
    return (f.kind == FieldKind::Look) == (rows == Rows::Looks);
}

// One more than the last position the placed rows take in one encoding's value.
template <typename R, std::size_t N>
constexpr int Width(const std::array<Field<R>, N>& fields, Rows rows, int Field<R>::*at,
                    int Field<R>::*againAt) {
    int width = 0;
    for (const Field<R>& f : fields)
        if (Placed(f, rows))
            width = std::max({width, f.*at + 1, f.*againAt + 1});
    return width;
}
template <typename R, std::size_t N>
constexpr int StoredWidth(const std::array<Field<R>, N>& fields, Rows rows) {
    return Width(fields, rows, &Field<R>::storedAt, &Field<R>::storedAgainAt);
}
template <typename R, std::size_t N>
constexpr int AppletWidth(const std::array<Field<R>, N>& fields, Rows rows) {
    return Width(fields, rows, &Field<R>::appletAt, &Field<R>::appletAgainAt);
}

// The row written at each position of a stored value.
template <const auto& Fields, Rows Which>
inline constexpr auto kStoredOrder = [] {
    std::array<int, StoredWidth(Fields, Which)> order{};
    order.fill(kNoSlot);
    for (std::size_t row = 0; row < Fields.size(); ++row) {
        if (!Placed(Fields[row], Which))
            continue;
        for (int at : {Fields[row].storedAt, Fields[row].storedAgainAt})
            if (at != kNoSlot)
                order[static_cast<std::size_t>(at)] = static_cast<int>(row);
    }
    return order;
}();

// The rows written at each position of an applet value, in the order their parts run together.
template <const auto& Fields, Rows Which>
inline constexpr auto kAppletOrder = [] {
    std::array<std::array<int, kMaxParts>, AppletWidth(Fields, Which)> order{};
    for (auto& parts : order)
        parts.fill(kNoSlot);
    for (std::size_t row = 0; row < Fields.size(); ++row) {
        const auto& f = Fields[row];
        if (!Placed(f, Which))
            continue;
        for (int at : {f.appletAt, f.appletAgainAt})
            if (at != kNoSlot)
                order[static_cast<std::size_t>(at)][static_cast<std::size_t>(f.appletPart)] =
                    static_cast<int>(row);
    }
    return order;
}();

// Every position of a value is written by exactly one row (one per part), so no field is lost
// or written over another.
template <const auto& Fields, Rows Which> constexpr bool EveryPositionOnce() {
    std::array<int, StoredWidth(Fields, Which)> stored{};
    std::array<std::array<int, kMaxParts>, AppletWidth(Fields, Which)> applet{};
    for (const auto& f : Fields) {
        if (!Placed(f, Which))
            continue;
        for (int at : {f.storedAt, f.storedAgainAt})
            if (at != kNoSlot && ++stored[static_cast<std::size_t>(at)] != 1)
                return false;
        if (f.appletPart < 0 || f.appletPart >= kMaxParts)
            return false;
        for (int at : {f.appletAt, f.appletAgainAt})
            if (at != kNoSlot &&
                ++applet[static_cast<std::size_t>(at)][static_cast<std::size_t>(f.appletPart)] != 1)
                return false;
    }
    for (int count : stored)
        if (count != 1)
            return false;
    // Parts run together from the first one, without a gap.
    for (const auto& parts : applet)
        for (std::size_t part = 0; part < parts.size(); ++part)
            if (parts[part] == 1 && (part > 0 ? parts[part - 1] : 1) != 1)
                return false;
    for (const auto& parts : applet)
        if (parts[0] != 1)
            return false;
    return true;
}

static_assert(EveryPositionOnce<kItemFields, Rows::Values>());
static_assert(EveryPositionOnce<kMenuFields, Rows::Values>());
static_assert(EveryPositionOnce<kMenuFields, Rows::Looks>());
static_assert(EveryPositionOnce<kLookFields, Rows::Values>());
static_assert(EveryPositionOnce<kAppletFields, Rows::Values>());
static_assert(EveryPositionOnce<kAppletFields, Rows::WebStyle>());

// A look's group in either encoding ends with two empty fields and a comma, so groups follow one
// another at this stride when the whole value is cut at its commas.
inline constexpr const char* kLookGroupEnd = ",,,";
inline constexpr int kLookGroupPadding = 2;

} // namespace foldline
