#include "GuideText.h"

#include <array>
#include <cctype>

namespace vidkiln {

namespace {

// Elements that start and end a line of their own.
constexpr std::array<std::string_view, 16> kBlockTags = {
    "p", "div", "br", "h1", "h2", "h3", "h4", "h5", "h6", "ul", "ol", "table", "tr", "section",
    "dt", "dd"};
// Elements whose content is not text for a reader.
constexpr std::array<std::string_view, 4> kHiddenTags = {"head", "style", "script", "title"};

struct TEntity {
    std::string_view Name;
    std::string_view Text;
};
constexpr std::array<TEntity, 6> kEntities = {{{"&amp;", "&"},
                                              {"&lt;", "<"},
                                              {"&gt;", ">"},
                                              {"&quot;", "\""},
                                              {"&#39;", "'"},
                                              {"&nbsp;", " "}}};

std::string LowerName(std::string_view tag)
{
    std::string name;
    for (const char c : tag) {
        if (!std::isalnum(static_cast<unsigned char>(c)))
            break;
        name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return name;
}

template <std::size_t N>
bool IsOneOf(const std::string& name, const std::array<std::string_view, N>& names)
{
    for (const auto candidate : names) {
        if (name == candidate)
            return true;
    }
    return false;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Builds the text line by line: folds blanks and keeps at most one empty line.
class TTextBuilder {
public:
    void Text(std::string_view text)
    {
        for (const char c : text) {
            if (IsBlank(c)) {
                FPendingBlank = !FLine.empty();
            } else {
                if (FPendingBlank)
                    FLine += ' ';
                FPendingBlank = false;
                FLine += c;
            }
        }
    }

    void LineBreak(bool paragraph)
    {
        if (!FLine.empty()) {
            FText += FLine;
            FText += '\n';
            FLine.clear();
            FOpenParagraph = false;
        }
        FPendingBlank = false;
        if (paragraph && !FText.empty() && !FOpenParagraph) {
            FText += '\n';
            FOpenParagraph = true;
        }
    }

    std::string Finish()
    {
        LineBreak(false);
        while (!FText.empty() && FText.back() == '\n' && FText.size() >= 2 &&
               FText[FText.size() - 2] == '\n')
            FText.pop_back();
        return FText;
    }

private:
    std::string FText;
    std::string FLine;
    bool FPendingBlank = false;
    bool FOpenParagraph = false;
};

// Length of the entity at the start of text and its replacement, if known.
const TEntity* EntityAt(std::string_view text)
{
    for (const auto& entity : kEntities) {
        if (text.starts_with(entity.Name))
            return &entity;
    }
    return nullptr;
}

} // namespace

std::string PlainTextFromHtml(std::string_view html)
{
    TTextBuilder out;
    std::string hiddenUntil;
    std::size_t at = 0;
    while (at < html.size()) {
        if (html[at] == '<') {
            const auto end = html.find('>', at);
            if (end == std::string_view::npos)
                break;
            const std::string_view tag = html.substr(at + 1, end - at - 1);
            at = end + 1;
            const bool closing = tag.starts_with('/');
            const std::string name = LowerName(closing ? tag.substr(1) : tag);
            if (!hiddenUntil.empty()) {
                if (closing && name == hiddenUntil)
                    hiddenUntil.clear();
                continue;
            }
            if (!closing && IsOneOf(name, kHiddenTags) && !tag.ends_with('/')) {
                hiddenUntil = name;
                continue;
            }
            if (name == "li") {
                out.LineBreak(false);
                if (!closing)
                    out.Text("· ");
            } else if (IsOneOf(name, kBlockTags)) {
                out.LineBreak(name != "br" && name != "tr" && name != "dd" && name != "dt");
            }
            continue;
        }
        if (!hiddenUntil.empty()) {
            ++at;
            continue;
        }
        if (html[at] == '&') {
            if (const TEntity* entity = EntityAt(html.substr(at))) {
                out.Text(entity->Text);
                at += entity->Name.size();
                continue;
            }
        }
        const auto next = html.find_first_of("<&", at + 1);
        const auto stop = next == std::string_view::npos ? html.size() : next;
        out.Text(html.substr(at, stop - at));
        at = stop;
    }
    return out.Finish();
}

} // namespace vidkiln
