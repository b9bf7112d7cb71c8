#include "controls/ControlsClasses.h"

#include "controls/TTransparentButton.h"
#include "controls/TURLLabel.h"
#include "framework/TForm.h"
#include "framework/TLayoutLoader.h"

#include <gtest/gtest.h>

namespace {

class TControlsForm : public TForm {
    Q_OBJECT
public:
    using TForm::TForm;
    Q_INVOKABLE void ButtonClick(QObject* sender) { calls.append("click " + sender->objectName()); }
    Q_INVOKABLE void ButtonEnter(QObject* sender) { calls.append("enter " + sender->objectName()); }
    Q_INVOKABLE void ButtonDown(QObject*, TMouseButton button, int, int x, int y) {
        calls.append(QStringLiteral("down %1 %2,%3").arg(button).arg(x).arg(y));
    }
    QStringList calls;
};

constexpr char kLayout[] = R"({
  "Class": "TControlsForm", "Name": "Form", "ShowHint": true,
  "Components": [
    {"Class": "TTransparentButton", "Name": "Button", "Left": 5, "Top": 4, "Width": 40,
     "Height": 40, "Hint": "Zastavir přehrávání", "ShowHint": true, "ParentShowHint": false,
     "FrameStyle": "fsMono", "TextAlign": "ttaBottom", "BorderWidth": 2,
     "OnClick": "ButtonClick", "OnMouseEnter": "ButtonEnter", "OnMouseDown": "ButtonDown"},
    {"Class": "TURLLabel", "Name": "Link", "Left": 78, "Top": 150,
     "Font": {"Name": "MS Sans Serif", "Height": -11, "Style": ["fsUnderline"],
              "Color": "clBlue"},
     "ColorMoveOver": "clRed", "ColorClick": "clPurple", "URL": "mailto: a@example.com",
     "Caption": "a@example.com"},
    {"Class": "TLabel", "Name": "Label", "Caption": "E-mail:", "WordWrap": true}
  ]})";

} // namespace

TEST(RegisterControlsClasses, LayoutsCreateTheControlsWithTheirPropertiesAndEvents) {
    RegisterControlsClasses();
    TControlsForm form;
    TLayoutLoader::LoadFormFromJson(&form, QByteArray(kLayout), QStringLiteral("Test"));

    auto* button = form.Component<TTransparentButton>(QStringLiteral("Button"));
    EXPECT_EQ(button->geometry(), QRect(5, 4, 40, 40));
    EXPECT_EQ(button->Hint(), QStringLiteral("Zastavir přehrávání"));
    EXPECT_TRUE(button->ShowHint());
    EXPECT_EQ(button->FrameStyle(), TTransparentButton::fsMono);
    EXPECT_EQ(button->TextAlign(), TTransparentButton::ttaBottom);
    EXPECT_EQ(button->BorderWidth(), 2u);
    button->Click();
    EXPECT_EQ(form.calls, QStringList{"click Button"});
    button->OnMouseEnter(button);
    button->OnMouseDown(button, mbRight, 0, 3, 4);
    EXPECT_EQ(form.calls, (QStringList{"click Button", "enter Button", "down 1 3,4"}));

    auto* link = form.Component<TURLLabel>(QStringLiteral("Link"));
    EXPECT_EQ(link->Caption(), "a@example.com");
    EXPECT_EQ(link->URL(), "mailto: a@example.com");
    EXPECT_EQ(link->ColorNormal(), clBlue);
    EXPECT_EQ(link->ColorMoveOver(), clRed);
    EXPECT_EQ(link->ColorClick(), clPurple);
    EXPECT_EQ(link->Font().Color(), clBlue);
    EXPECT_EQ(link->Font().Height(), -11);
    EXPECT_FALSE(link->ParentFont());

    auto* label = form.Component<TLabel>(QStringLiteral("Label"));
    EXPECT_EQ(label->Caption(), "E-mail:");
    EXPECT_TRUE(label->WordWrap());
}

#include "ControlsClassesTest.moc"
