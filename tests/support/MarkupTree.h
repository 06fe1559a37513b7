// Reads the markup of the modern HTML kinds into a tree, failing the test on anything that is not
// valid HTML for its elements: an unknown or misplaced element, an attribute the element does not
// take (obsolete ones included), a duplicate attribute or id, a bare "<", ">" or quote in text,
// or a line not ended by CR LF.
#pragma once

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace markup_tree {

struct Element {
    std::string tag;
    std::map<std::string, std::string> attributes; // values with their references decoded
    std::vector<Element> children;
    std::string text; // the element's own text; <br> reads as "\n"

    bool Has(const std::string& name) const { return attributes.count(name) != 0; }
    std::string operator[](const std::string& name) const {
        const auto it = attributes.find(name);
        return it == attributes.end() ? std::string() : it->second;
    }
    // The element's text and that of its descendants, in order.
    std::string AllText() const {
        std::string all = text;
        for (const Element& child : children)
            all += child.AllText();
        return all;
    }
    const Element& Child(std::size_t index) const {
        static const Element missing;
        EXPECT_LT(index, children.size()) << "<" << tag << "> has too few children";
        return index < children.size() ? children[index] : missing;
    }
    // The data-furlin object, which must be valid JSON.
    QJsonObject Data() const {
        QJsonParseError error;
        const QJsonDocument json =
            QJsonDocument::fromJson(QByteArray::fromStdString((*this)["data-furlin"]), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError)
            << error.errorString().toStdString() << " in " << (*this)["data-furlin"];
        EXPECT_TRUE(json.isObject());
        return json.object();
    }
    // A list's look: the entry of the nav's look table its data names.
    QJsonObject Look(const Element& nav) const {
        const int index = std::stoi((*this)["data-furlin"]);
        const QJsonArray looks = nav.Data()["Looks"].toArray();
        EXPECT_LT(index, looks.size()) << "no look " << index;
        return looks.at(index).toObject();
    }
};

inline std::string Decoded(std::string text) {
    for (const auto& [reference, c] : {std::pair<std::string, std::string>{"&quot;", "\""},
                                       {"&lt;", "<"},
                                       {"&gt;", ">"},
                                       {"&amp;", "&"}}) {
        std::string out;
        for (std::size_t at = 0, found; at <= text.size(); at = found + reference.size()) {
            found = text.find(reference, at);
            out += text.substr(at, found == std::string::npos ? found : found - at);
            if (found == std::string::npos)
                break;
            out += c;
        }
        text = out;
    }
    return text;
}

// What each element may hold and which attributes it takes.
struct Rule {
    std::set<std::string> children;
    std::set<std::string> attributes;
};

inline const std::map<std::string, Rule>& Rules() {
    static const std::map<std::string, Rule> rules = {
        {"#root", {{"link", "div", "script"}, {}}},
        {"link", {{}, {"rel", "href"}}},
        {"script", {{}, {"src", "defer"}}},
        {"div", {{"nav"}, {"class", "data-align", "dir"}}},
        {"nav", {{"ul"}, {"class", "aria-label", "data-furlin", "data-furlin-preview"}}},
        {"ul", {{"li"}, {"data-furlin"}}},
        {"li", {{"a", "span", "ul"}, {"data-furlin", "data-furlin-node"}}},
        {"a", {{"img", "br"}, {"href", "target", "rel", "title", "aria-label", "aria-current"}}},
        {"span", {{"img", "br"}, {"title", "aria-current"}}},
        {"img", {{}, {"src", "alt", "loading"}}},
        {"br", {{}, {}}},
    };
    return rules;
}

inline bool IsVoid(const std::string& tag) {
    return tag == "link" || tag == "img" || tag == "br";
}

inline void CheckText(const std::string& text) {
    EXPECT_EQ(text.find_first_of("<>\""), std::string::npos) << "bare markup in text: " << text;
    for (std::size_t amp = text.find('&'); amp != std::string::npos; amp = text.find('&', amp + 1))
        EXPECT_TRUE(text.compare(amp, 4, "&lt;") == 0 || text.compare(amp, 4, "&gt;") == 0 ||
                    text.compare(amp, 5, "&amp;") == 0 || text.compare(amp, 6, "&quot;") == 0)
            << "bare ampersand in " << text;
}

// A URL as a page may hold it: URL code points of ASCII only, a `%` only before two hex digits,
// at most one `#`, and no backslash.
inline void CheckUrl(const std::string& url) {
    static const std::string allowed = "-._~!$&'()*+,;=:@/?#[]%";
    for (std::size_t i = 0; i < url.size(); ++i) {
        const char c = url[i];
        EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c)) ||
                    allowed.find(c) != std::string::npos)
            << "raw " << static_cast<int>(static_cast<unsigned char>(c)) << " in URL " << url;
        if (c == '%') {
            EXPECT_TRUE(i + 2 < url.size() &&
                        std::isxdigit(static_cast<unsigned char>(url[i + 1])) &&
                        std::isxdigit(static_cast<unsigned char>(url[i + 2])))
                << "stray % in URL " << url;
        }
    }
    EXPECT_LE(std::count(url.begin(), url.end(), '#'), 1) << url;
}

// Reads `<tag name="value" flag>` at html[at] (after the "<"); returns the position after ">".
inline std::size_t ReadStartTag(const std::string& html, std::size_t at, Element& element,
                                std::set<std::string>& ids) {
    const std::size_t nameEnd = html.find_first_of(" >", at);
    element.tag = html.substr(at, nameEnd - at);
    std::size_t i = nameEnd;
    while (i < html.size() && html[i] == ' ') {
        const std::size_t end = html.find_first_of("=> ", i + 1);
        const std::string name = html.substr(i + 1, end - i - 1);
        std::string value;
        i = end;
        if (html[i] == '=') {
            EXPECT_EQ(html[i + 1], '"') << "unquoted attribute " << name;
            const std::size_t close = html.find('"', i + 2);
            value = html.substr(i + 2, close - i - 2);
            CheckText(value);
            i = close + 1;
        }
        const auto rule = Rules().find(element.tag);
        EXPECT_TRUE(rule != Rules().end() && rule->second.attributes.count(name))
            << "<" << element.tag << "> takes no " << name;
        EXPECT_TRUE(element.attributes.emplace(name, Decoded(value)).second)
            << "duplicate " << name;
        if (name == "href" || name == "src")
            CheckUrl(Decoded(value));
        if (name == "id") {
            EXPECT_TRUE(ids.insert(value).second) << "duplicate id " << value;
        }
    }
    EXPECT_EQ(html[i], '>') << "in <" << element.tag << ">";
    return i + 1;
}

inline Element Parse(const std::string& html) {
    std::set<std::string> ids;
    std::vector<Element> open(1);
    open[0].tag = "#root";
    for (std::size_t i = 0; i < html.size();) {
        const std::size_t lt = html.find('<', i);
        std::string text = html.substr(i, lt == std::string::npos ? lt : lt - i);
        for (std::size_t cr = text.find('\r'); cr != std::string::npos; cr = text.find('\r', cr))
            text.erase(cr, 1);
        CheckText(text);
        if (text.find('\n') != std::string::npos) {
            EXPECT_TRUE(text == "\n") << "text across lines: " << text;
        } else {
            open.back().text += Decoded(text);
        }
        if (lt == std::string::npos)
            break;
        if (html[lt + 1] == '/') {
            const std::size_t gt = html.find('>', lt);
            EXPECT_EQ(html.substr(lt + 2, gt - lt - 2), open.back().tag) << "misnested end tag";
            if (open.size() > 1) {
                Element done = std::move(open.back());
                open.pop_back();
                open.back().children.push_back(std::move(done));
            }
            i = gt + 1;
            continue;
        }
        Element element;
        i = ReadStartTag(html, lt + 1, element, ids);
        const auto rule = Rules().find(open.back().tag);
        EXPECT_TRUE(rule != Rules().end() && rule->second.children.count(element.tag))
            << "<" << element.tag << "> inside <" << open.back().tag << ">";
        if (element.tag == "br")
            open.back().text += "\n";
        else if (IsVoid(element.tag))
            open.back().children.push_back(std::move(element));
        else
            open.push_back(std::move(element));
    }
    EXPECT_EQ(open.size(), 1u) << "unclosed <" << open.back().tag << ">";
    for (std::size_t lf = html.find('\n'); lf != std::string::npos; lf = html.find('\n', lf + 1))
        EXPECT_TRUE(lf > 0 && html[lf - 1] == '\r') << "line end without CR at " << lf;
    return std::move(open.front());
}

} // namespace markup_tree
