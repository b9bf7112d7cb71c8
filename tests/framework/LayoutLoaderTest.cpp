#include "framework/Exceptions.h"
#include "framework/TButton.h"
#include "framework/TClassRegistry.h"
#include "framework/TEdit.h"
#include "framework/TForm.h"
#include "framework/TLayoutLoader.h"
#include "framework/TLoadable.h"
#include "framework/TMemo.h"
#include "framework/TPanel.h"
#include "framework/TStaticText.h"

#include <QDirIterator>
#include <QFile>
#include <gtest/gtest.h>
#include <memory>

namespace {

QStringList loadedLog;

// A component with a property of each kind the loader converts, and two events.
class TRecorder : public QWidget, public TLoadable {
    Q_OBJECT
    Q_PROPERTY(TKind Kind READ Kind WRITE SetKind)
    Q_PROPERTY(TKinds Kinds READ Kinds WRITE SetKinds)
    Q_PROPERTY(QStringList Lines MEMBER lines)
    Q_PROPERTY(TColor Shade MEMBER shade)
    Q_PROPERTY(double Ratio MEMBER ratio)
    Q_PROPERTY(QByteArray Picture MEMBER picture)
    Q_PROPERTY(int Fixed READ Fixed)

public:
    enum TKind { kdOne, kdTwo };
    Q_ENUM(TKind)
    enum TKindBit { kbRed = 1, kbGreen = 2, kbBlue = 4 };
    Q_DECLARE_FLAGS(TKinds, TKindBit)
    Q_FLAG(TKinds)

    explicit TRecorder(QWidget* parent = nullptr) : QWidget(parent) {}
    TKind Kind() const { return kind; }
    void SetKind(TKind value) { kind = value; }
    TKinds Kinds() const { return kinds; }
    void SetKinds(TKinds value) { kinds = value; }
    int Fixed() const { return 7; }
    void Loaded() override { loadedLog.append(objectName()); }

    TKind kind = kdOne;
    TKinds kinds;
    QStringList lines;
    TColor shade = clBlack;
    double ratio = 0;
    QByteArray picture;
    TNotifyEvent OnPoke;
    std::function<void(QObject*, int, bool&)> OnAsk;
};

// A component without a window, owned by the form.
class TNonVisual : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Filter MEMBER filter)

public:
    explicit TNonVisual(QObject* owner = nullptr) : QObject(owner) {}
    QString filter;
};

class TLoaderForm : public TForm {
    Q_OBJECT

public:
    Q_INVOKABLE void FormCreate(QObject*) { loadedLog.append("FormCreate"); }
    Q_INVOKABLE void Poked(QObject* sender) { calls.append("Poked " + sender->objectName()); }
    Q_INVOKABLE void Asked(QObject* sender, int value, bool& answer) {
        calls.append(QStringLiteral("Asked %1 %2").arg(sender->objectName()).arg(value));
        answer = value > 2;
    }
    Q_INVOKABLE void FormCloseQuery(QObject*, bool& canClose) { canClose = allowClose; }
    Q_INVOKABLE void WrongPoke(int) {}

    QStringList calls;
    bool allowClose = false;
};

std::unique_ptr<TLoaderForm> Load(const char* json) {
    auto form = std::make_unique<TLoaderForm>();
    TLayoutLoader::LoadFormFromJson(form.get(), QByteArray(json), QStringLiteral("Test"));
    return form;
}

class LayoutLoader : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        TClassRegistry& registry = TClassRegistry::Global();
        registry.RegisterClass<TRecorder>();
        registry.RegisterClass<TNonVisual>();
        registry.RegisterEvent<TRecorder>("OnPoke", &TRecorder::OnPoke);
        registry.RegisterEvent<TRecorder>("OnAsk", &TRecorder::OnAsk);
    }
    void SetUp() override { loadedLog.clear(); }
};

} // namespace

Q_DECLARE_OPERATORS_FOR_FLAGS(TRecorder::TKinds)

TEST_F(LayoutLoader, SetsPropertiesOfEveryKind) {
    const auto form = Load(R"({
        "Class": "TLoaderForm", "Name": "Main", "Caption": "Zvonkar pro Windows 95",
        "ClientWidth": 296, "ClientHeight": 343, "BorderStyle": "bsDialog",
        "BorderIcons": ["biSystemMenu"], "Position": "poScreenCenter", "Color": "clBtnFace",
        "Font": {"Name": "MS Sans Serif", "Height": 10, "Color": "clWindowText"},
        "Components": [
          {"Class": "TPanel", "Name": "Panel1", "Left": 152, "Top": 288, "Width": 140,
           "Height": 50, "BevelInner": "bvLowered", "Enabled": false},
          {"Class": "TStaticText", "Name": "Velikost", "Left": 152, "Top": 256, "Width": 140,
           "Height": 20, "Alignment": "taCenter", "AutoSize": false, "BorderStyle": "sbsSunken",
           "Caption": "0 Kb", "Font": {"Name": "MS Sans Serif", "Height": 13,
           "Style": ["fsBold"], "Color": "clRed"}},
          {"Class": "TRecorder", "Name": "Rec", "Kind": "kdTwo", "Kinds": ["kbRed", "kbBlue"],
           "Lines": ["Poděkování:", "... za morální podporu"], "Shade": "clPurple",
           "Ratio": 0.5, "Visible": false, "Cursor": "crHandPoint"},
          {"Class": "TMemo", "Name": "Memo1", "ReadOnly": true, "ScrollBars": "ssVertical",
           "Ctl3D": false, "Lines": ["a", "b"]},
          {"Class": "TNonVisual", "Name": "SaveDialog1", "Filter": "Zvukové soubory|*.wav"}
        ]})");
    EXPECT_EQ(form->objectName(), "Main");
    EXPECT_EQ(form->Caption(), "Zvonkar pro Windows 95");
    EXPECT_EQ(form->size(), QSize(296, 343));
    EXPECT_EQ(form->BorderStyle(), TForm::bsDialog);
    EXPECT_EQ(form->BorderIcons(), TForm::TBorderIcons(TForm::biSystemMenu));
    EXPECT_EQ(form->Position(), TForm::poScreenCenter);
    EXPECT_LE(FontTextHeight(form->font()), 10);

    auto* panel = form->Component<TPanel>("Panel1");
    EXPECT_EQ(panel->geometry(), QRect(152, 288, 140, 50));
    EXPECT_EQ(panel->BevelInner(), TPanel::bvLowered);
    EXPECT_EQ(panel->BevelOuter(), TPanel::bvRaised);
    EXPECT_FALSE(panel->isEnabled());

    auto* size = form->Component<TStaticText>("Velikost");
    EXPECT_EQ(size->geometry(), QRect(152, 256, 140, 20));
    EXPECT_EQ(size->Alignment(), TStaticText::taCenter);
    EXPECT_EQ(size->BorderStyle(), TStaticText::sbsSunken);
    EXPECT_EQ(size->Caption(), "0 Kb");
    EXPECT_TRUE(size->font().bold());
    EXPECT_LE(FontTextHeight(size->font()), 13);
    EXPECT_EQ(size->palette().color(QPalette::WindowText), QColor(255, 0, 0));

    auto* recorder = form->Component<TRecorder>("Rec");
    EXPECT_EQ(recorder->kind, TRecorder::kdTwo);
    EXPECT_EQ(recorder->kinds, TRecorder::kbRed | TRecorder::kbBlue);
    EXPECT_EQ(recorder->lines, QStringList({"Poděkování:", "... za morální podporu"}));
    EXPECT_EQ(recorder->shade, clPurple);
    EXPECT_EQ(recorder->ratio, 0.5);
    EXPECT_TRUE(recorder->isHidden());
    EXPECT_EQ(recorder->cursor().shape(), Qt::PointingHandCursor);

    auto* memo = form->Component<TMemo>("Memo1");
    EXPECT_TRUE(memo->ReadOnly());
    EXPECT_EQ(memo->ScrollBars(), TMemo::ssVertical);
    EXPECT_FALSE(memo->Ctl3D());
    EXPECT_EQ(memo->Lines(), QStringList({"a", "b"}));

    auto* dialog = form->Component<TNonVisual>("SaveDialog1");
    EXPECT_EQ(dialog->parent(), form.get());
    EXPECT_EQ(dialog->filter, "Zvukové soubory|*.wav");

    QStringList names;
    for (QObject* component : form->Components())
        names.append(component->objectName());
    EXPECT_EQ(names, QStringList({"Panel1", "Velikost", "Rec", "Memo1", "SaveDialog1"}));
}

TEST_F(LayoutLoader, PictureTakesTheRawBytesOfAResource) {
    QDirIterator resources(":/qt-project.org", QDir::Files, QDirIterator::Subdirectories);
    if (!resources.hasNext())
        GTEST_SKIP() << "no compiled-in resource to read";
    const QString path = resources.next();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray json = QStringLiteral(R"({"Name": "Main", "Components": [
        {"Class": "TRecorder", "Name": "Logo", "Picture": {"Picture": "%1"}}]})")
                                .arg(path.mid(2))
                                .toUtf8();
    TLoaderForm form;
    TLayoutLoader::LoadFormFromJson(&form, json, "Test");
    EXPECT_EQ(form.Component<TRecorder>("Logo")->picture, file.readAll());
}

TEST_F(LayoutLoader, BindsEventsToTheFormsMethodsByName) {
    const auto form = Load(R"({"Name": "Main", "OnCloseQuery": "FormCloseQuery",
        "Components": [
          {"Class": "TRecorder", "Name": "Rec", "OnPoke": "Poked", "OnAsk": "Asked"},
          {"Class": "TButton", "Name": "OK", "Caption": "OK", "OnClick": "Poked"}]})");
    auto* recorder = form->Component<TRecorder>("Rec");
    ASSERT_TRUE(recorder->OnPoke);
    recorder->OnPoke(recorder);
    bool answer = false;
    recorder->OnAsk(recorder, 3, answer);
    EXPECT_TRUE(answer);
    recorder->OnAsk(recorder, 1, answer);
    EXPECT_FALSE(answer);
    form->Component<TButton>("OK")->click();
    EXPECT_EQ(form->calls, QStringList({"Poked Rec", "Asked Rec 3", "Asked Rec 1", "Poked OK"}));

    form->show();
    form->Close();
    EXPECT_TRUE(form->isVisible()) << "FormCloseQuery refused the close";
    form->allowClose = true;
    form->Close();
    EXPECT_FALSE(form->isVisible());
}

TEST_F(LayoutLoader, CallsLoadedInCreationOrderThenRaisesOnCreate) {
    const auto form = Load(R"({"Name": "Main", "OnCreate": "FormCreate", "Components": [
        {"Class": "TRecorder", "Name": "A", "Components": [
          {"Class": "TRecorder", "Name": "B", "Components": [
            {"Class": "TRecorder", "Name": "C"}]}]},
        {"Class": "TRecorder", "Name": "D"}]})");
    EXPECT_EQ(loadedLog, QStringList({"A", "B", "C", "D", "FormCreate"}));
    EXPECT_EQ(form->Component<TRecorder>("C")->parentWidget(), form->Component<TRecorder>("B"));
}

TEST_F(LayoutLoader, ShowsHintsOnlyWhereShowHintSaysSo) {
    const auto form = Load(R"({"Name": "Main", "Components": [
        {"Class": "TPanel", "Name": "Panel1", "Components": [
          {"Class": "TEdit", "Name": "Shown", "Hint": "Smazat soubor|long help",
           "ShowHint": true, "ParentShowHint": false},
          {"Class": "TEdit", "Name": "Inherited", "Hint": "from the form"}]},
        {"Class": "TPanel", "Name": "Panel2", "ShowHint": true, "Components": [
          {"Class": "TEdit", "Name": "FromPanel", "Hint": "from the panel"}]}]})");
    EXPECT_EQ(form->Component<TEdit>("Shown")->toolTip(), "Smazat soubor");
    EXPECT_EQ(form->Component<TEdit>("Inherited")->toolTip(), "");
    EXPECT_EQ(form->Component<TEdit>("FromPanel")->toolTip(), "from the panel");
}

TEST_F(LayoutLoader, AppliesTheTabOrder) {
    const auto form = Load(R"({"Name": "Main", "Components": [
        {"Class": "TEdit", "Name": "Third", "TabOrder": 2},
        {"Class": "TPanel", "Name": "Panel", "TabOrder": 0, "Components": [
          {"Class": "TEdit", "Name": "InPanelSecond", "TabOrder": 1},
          {"Class": "TEdit", "Name": "InPanelFirst", "TabOrder": 0}]},
        {"Class": "TEdit", "Name": "Second", "TabOrder": 1}]})");
    QStringList chain;
    QWidget* at = form->Component<TEdit>("InPanelFirst");
    for (int i = 0; i < 4; ++i, at = at->nextInFocusChain()) {
        while (!qobject_cast<TEdit*>(at))
            at = at->nextInFocusChain();
        chain.append(at->objectName());
    }
    EXPECT_EQ(chain, QStringList({"InPanelFirst", "InPanelSecond", "Second", "Third"}));
}

TEST_F(LayoutLoader, ABadLayoutRaisesAnErrorNamingComponentAndProperty) {
    const struct {
        const char* json;
        const char* message;
    } cases[] = {
        {R"({"Name": "Main", "Components": [{"Class": "TNoSuch", "Name": "x"}]})",
         R"(Layout Test, component x: unknown class "TNoSuch")"},
        {R"({"Name": "Main", "Components": [{"Class": "TPanel", "Name": "p", "Bevel": 1}]})",
         "Layout Test, component p: property Bevel: TPanel has no such property"},
        {R"({"Name": "Main", "Components": [{"Class": "TPanel", "Name": "p",
             "BevelInner": "bvSunken"}]})",
         R"(Layout Test, component p: property BevelInner: "bvSunken" is not a value of TBevelCut)"},
        {R"({"Name": "Main", "BorderIcons": ["biSystemMenu", "biClose"]})",
         R"(Layout Test, component Main: property BorderIcons: "biClose" is not a value)"},
        {R"({"Name": "Main", "BorderIcons": "biSystemMenu"})",
         "component Main: property BorderIcons: expected an array of names"},
        {R"({"Name": "Main", "Components": [{"Class": "TPanel", "Name": "p", "Left": "12"}]})",
         R"(component p: property Left: expected an integer, found "12")"},
        {R"({"Name": "Main", "Components": [{"Class": "TPanel", "Name": "p", "Width": 1.5}]})",
         "component p: property Width: expected an integer, found 1.5"},
        {R"({"Name": "Main", "Components": [{"Class": "TPanel", "Name": "p",
             "OnClick": "Poked"}]})",
         "component p: property OnClick: TPanel has no such event"},
        {R"({"Name": "Main", "Components": [{"Class": "TRecorder", "Name": "r",
             "OnPoke": "Nothing"}]})",
         "component r: property OnPoke: TLoaderForm has no invokable method Nothing(QObject*)"},
        {R"({"Name": "Main", "Components": [{"Class": "TRecorder", "Name": "r",
             "OnPoke": "WrongPoke"}]})",
         "component r: property OnPoke: WrongPoke must take (QObject*)"},
        {R"({"Name": "Main", "Components": [{"Class": "TRecorder", "Name": "r",
             "OnAsk": "Poked"}]})",
         "component r: property OnAsk: Poked must take (QObject*, int, bool&)"},
        {R"({"Name": "Main", "Components": [{"Class": "TPanel", "Name": "p"},
             {"Class": "TPanel", "Name": "p"}]})",
         "component p: the name is used twice"},
        {R"({"Name": "Main", "Components": [{"Class": "TPanel"}]})",
         "component Main: a component without a name"},
        {R"({"Name": "Main", "Components": [{"Class": "TNonVisual", "Name": "n",
             "Components": [{"Class": "TPanel", "Name": "p"}]}]})",
         "component p: its parent n is not a control"},
        {R"({"Class": "TAboutBox", "Name": "Main"})",
         "component Main: the layout is for TAboutBox, not TLoaderForm"},
        {R"({"Name": "Main", "Font": {"Colour": "clRed"}})",
         "component Main: property Font: a font has no field Colour"},
        {R"({"Name": "Main", "Font": {"Style": ["fsHeavy"]}})",
         R"(property Font: "fsHeavy" is not a font style)"},
        {R"({"Name": "Main", "Color": "clPink"})",
         R"(component Main: property Color: expected a colour, found "clPink")"},
        {R"({"Name": "Main", "Cursor": "crPointer"})",
         R"(property Cursor: "crPointer" is not a cursor)"},
        {R"({"Name": "Main", "Components": [{"Class": "TSpeedButton", "Name": "s",
             "Glyph": {"Bitmap": "NOSUCH"}}]})",
         "component s: property Glyph: no bitmap resource NOSUCH"},
        {R"({"Name": "Main", "Components": [{"Class": "TRecorder", "Name": "r",
             "Picture": {"Picture": "logo/none.jpg"}}]})",
         "component r: property Picture: no picture resource logo/none.jpg"},
        {R"({"Name": "Main", "Components": [{"Class": "TRecorder", "Name": "r",
             "Fixed": 3}]})",
         "component r: property Fixed: the property is read-only"},
        {R"({"Name": "Main", "Components": {"Class": "TPanel"}})",
         "component Main: Components must be an array"},
        {R"({"Name": "Main",)", "Layout Test: "},
        {R"(["Main"])", "Layout Test: the layout must be an object"},
    };
    for (const auto& c : cases) {
        try {
            Load(c.json);
            ADD_FAILURE() << "accepted " << c.json;
        } catch (const Exception& error) {
            EXPECT_TRUE(error.Message().contains(QString::fromUtf8(c.message)))
                << error.Message().toStdString() << "\n  expected: " << c.message;
        }
    }
}

TEST(LayoutResource, AMissingLayoutIsReportedByName) {
    TForm form;
    try {
        TLayoutLoader::LoadForm(&form, "NoSuchForm");
        ADD_FAILURE() << "loaded a layout that does not exist";
    } catch (const Exception& error) {
        EXPECT_EQ(error.Message(), "Layout NoSuchForm: no such resource");
    }
}

#include "LayoutLoaderTest.moc"
