// The guide page read as plain text for a panel without a browser engine.
#include "GuideText.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace vidkiln {
namespace {

TEST(GuideText, KeepsReadableTextAndDropsMarkup)
{
    const char* html = "<!DOCTYPE html><html><head><title>指南</title>"
                       "<style>p { color: red; }</style></head>\n"
                       "<body><h1>使用 指南</h1>\n<p>支持   的\n格式：</p>"
                       "<ul><li>AVI</li><li>RM &amp; RMVB</li></ul>"
                       "<p>a&lt;b&gt;c&nbsp;d</p><script>var x = '<p>';</script></body></html>";
    EXPECT_EQ(PlainTextFromHtml(html),
              "使用 指南\n\n支持 的 格式：\n\n· AVI\n· RM & RMVB\n\na<b>c d\n");
}

TEST(GuideText, LineBreaksWithoutParagraphsAndNoTrailingBlankLines)
{
    EXPECT_EQ(PlainTextFromHtml("<p>a<br>b</p><p></p><p></p>"), "a\nb\n");
    EXPECT_EQ(PlainTextFromHtml(""), "");
    EXPECT_EQ(PlainTextFromHtml("plain &unknown; text"), "plain &unknown; text\n");
}

TEST(GuideText, UnclosedTagEndsTheText)
{
    EXPECT_EQ(PlainTextFromHtml("<p>kept</p><p unfinished"), "kept\n");
    EXPECT_EQ(PlainTextFromHtml("<style>never closed"), "");
}

TEST(GuideText, ShippedGuideNamesTheFourSettingsAndTheOutput)
{
    std::ifstream page(VIDKILN_GUIDE_PAGE, std::ios::binary);
    ASSERT_TRUE(page) << VIDKILN_GUIDE_PAGE;
    std::ostringstream html;
    html << page.rdbuf();
    const std::string text = PlainTextFromHtml(html.str());
    for (const char* needed : {"质量(KBps)", "视频帧频", "视频大小", "屏幕纵模比", "输出目录", "RMVB",
                               "MKV", ".mp4"})
        EXPECT_NE(text.find(needed), std::string::npos) << needed;
    EXPECT_EQ(text.find('<'), std::string::npos);
    EXPECT_EQ(text.find("font:"), std::string::npos);
}

} // namespace
} // namespace vidkiln
