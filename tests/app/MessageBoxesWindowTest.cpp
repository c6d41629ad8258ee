#include <functional>

#include <QTextDocument>

#include "WindowTestSupport.h"
#include "app/MessageBoxes.h"

namespace wh::test {
namespace {

// Messages quote what the user typed or what a catalogue named; markup in
// them must reach the user as written, not be rendered.
TEST(MessageBoxesWindowTest, MessagesWithMarkupAreShownAsWritten) {
    struct TCase {
        const char* Name;
        std::function<void(const std::string&)> Show;
        std::string Message;
        QString Shown;
    };
    const TCase cases[] = {
        {"plain message", [](const std::string& m) { ShowPlainMessage(nullptr, "Wingharbourclient", m); },
         "Unknown Parameter '<b>x</b>'.", "Unknown Parameter '<b>x</b>'."},
        {"error box", [](const std::string& m) { ShowErrorBox(nullptr, "Wingharbourclient", m); },
         "URL-protocol for 'file://<i>a</i>&amp;/' not supported",
         "URL-protocol for 'file://<i>a</i>&amp;/' not supported."},
    };
    for (const auto& c : cases) {
        TDialogAnswers answerer;
        c.Show(c.Message);
        ASSERT_EQ(answerer.Boxes.size(), 1u) << c.Name;
        const TShownBox& box = answerer.Boxes[0];
        EXPECT_EQ(box.Text, c.Shown) << c.Name;
        // What the box draws: markup is only drawn as markup in rich text.
        QTextDocument drawn;
        if (box.Format == Qt::PlainText || (box.Format == Qt::AutoText && !Qt::mightBeRichText(box.Text)))
            drawn.setPlainText(box.Text);
        else
            drawn.setHtml(box.Text);
        EXPECT_EQ(drawn.toPlainText(), c.Shown) << c.Name;
    }
}

} // namespace
} // namespace wh::test
