#include "MenuJson.h"

#include "CAppletParameters.h"
#include "Json.h"

namespace site {

namespace {

using foldline::JsonQuote;
using foldline::JsonValue;

// The item members beside the model's fields, in the order they are written.
struct TextMember {
    const char* name;
    std::string CFurlinItem::*field;
};
constexpr TextMember kItemTexts[] = {
    {"label", &CFurlinItem::Label},
    {"link", &CFurlinItem::Link},
    {"target", &CFurlinItem::TargetFrame},
    {"description", &CFurlinItem::Description},
};

class CJsonWriter {
public:
    std::string Write(const CAppletParameters& model) {
        m_out = "{\n  \"format\": " + JsonQuote(kMenuJsonFormat) + ",\n  \"version\": 1,\n";
        m_out += "  \"menus\": [";
        const auto& menus = model.Menus();
        for (std::size_t i = 0; i < menus.size(); ++i) {
            m_out += i ? ",\n" : "\n";
            Indent(2);
            m_out += "{";
            if (menus[i]->Visible == 0)
                m_out += "\"visible\": false, ";
            m_out += "\"items\": ";
            Items(*menus[i], 2);
            m_out += "}";
        }
        m_out += menus.empty() ? "]\n}\n" : "\n  ]\n}\n";
        return std::move(m_out);
    }

private:
    void Indent(int level) { m_out.append(static_cast<std::size_t>(level) * 2, ' '); }

    // Menus are at most kMaxDepth deep, so recursion stays within bounds.
    void Items(const CFurlin& menu, int level) {
        const auto& items = menu.Items();
        if (items.empty()) {
            m_out += "[]";
            return;
        }
        m_out += "[";
        for (std::size_t i = 0; i < items.size(); ++i) {
            const CFurlinItem& item = *items[i];
            m_out += i ? ",\n" : "\n";
            Indent(level + 1);
            m_out += "{";
            for (const TextMember& member : kItemTexts)
                m_out += JsonQuote(member.name) + ": " + JsonQuote(item.*member.field) + ", ";
            if (item.Visible == 0)
                m_out += "\"visible\": false, ";
            m_out += "\"children\": ";
            Items(*item.GetSubMenu(), level + 1);
            m_out += "}";
        }
        m_out += "\n";
        Indent(level);
        m_out += "]";
    }

    std::string m_out;
};

class CJsonReader {
public:
    bool Read(const JsonValue& root, std::vector<std::unique_ptr<CFurlin>>& menus) {
        if (root.kind != JsonValue::Object)
            return Fail("the text", "is not a JSON object");
        if (const JsonValue* format = root.Member("format");
            format && (format->kind != JsonValue::String || format->text != kMenuJsonFormat))
            return Fail("format", std::string("is not \"") + kMenuJsonFormat + "\"");
        const JsonValue* list = root.Member("menus");
        if (!list || list->kind != JsonValue::Array)
            return Fail("menus", "is missing or not a list");
        for (std::size_t i = 0; i < list->items.size(); ++i) {
            const std::string where = "menus[" + std::to_string(i) + "]";
            auto menu = std::make_unique<CFurlin>();
            if (!ReadMenu(list->items[i], *menu, where, 1))
                return false;
            menus.push_back(std::move(menu));
        }
        return true;
    }
    const std::string& Reason() const { return m_reason; }

private:
    bool Fail(const std::string& where, const std::string& what) {
        m_reason = where + " " + what;
        return false;
    }

    bool ReadVisible(const JsonValue& object, int& visible, const std::string& where) {
        const JsonValue* value = object.Member("visible");
        if (!value)
            return true;
        if (value->kind != JsonValue::Bool)
            return Fail(where + ".visible", "is not true or false");
        visible = value->boolean ? 1 : 0;
        return true;
    }

    bool ReadMenu(const JsonValue& value, CFurlin& menu, const std::string& where, int depth) {
        if (value.kind != JsonValue::Object)
            return Fail(where, "is not an object");
        if (!ReadVisible(value, menu.Visible, where))
            return false;
        const JsonValue* items = value.Member("items");
        return !items || ReadItems(*items, menu, where + ".items", depth);
    }

    bool ReadItems(const JsonValue& list, CFurlin& menu, const std::string& where, int depth) {
        if (list.kind != JsonValue::Array)
            return Fail(where, "is not a list");
        if (depth > kMaxDepth && !list.items.empty())
            return Fail(where, "lies deeper than " + std::to_string(kMaxDepth) + " menu levels");
        for (std::size_t i = 0; i < list.items.size(); ++i) {
            const std::string at = where + "[" + std::to_string(i) + "]";
            const JsonValue& value = list.items[i];
            if (value.kind != JsonValue::Object)
                return Fail(at, "is not an object");
            auto item = std::make_unique<CFurlinItem>();
            for (const TextMember& member : kItemTexts) {
                const JsonValue* text = value.Member(member.name);
                if (text && text->kind != JsonValue::String)
                    return Fail(at + "." + member.name, "is not a text");
                if (text)
                    (*item).*member.field = text->text;
            }
            if (!ReadVisible(value, item->Visible, at))
                return false;
            if (const JsonValue* children = value.Member("children");
                children && !ReadItems(*children, *item->GetSubMenu(), at + ".children", depth + 1))
                return false;
            menu.AddItem(std::move(item), false);
        }
        return true;
    }

    std::string m_reason;
};

} // namespace

std::string MenuToJson(const CAppletParameters& model) {
    return CJsonWriter().Write(model);
}

bool MenuFromJson(std::string_view text, std::vector<std::unique_ptr<CFurlin>>& menus,
                  std::string& reason) {
    if (text.size() > kMaxJsonBytes) {
        reason = "larger than " + std::to_string(kMaxJsonBytes >> 20) + " MB";
        return false;
    }
    JsonValue root;
    // Each menu level takes two levels of JSON (an item and its list of children).
    if (!foldline::ParseJson(text, root, reason, 2 * kMaxDepth + 8))
        return false;
    CJsonReader reader;
    if (!reader.Read(root, menus)) {
        menus.clear();
        reason = reader.Reason();
        return false;
    }
    return true;
}

} // namespace site
