// SPDX-License-Identifier: GPL-3.0-or-later
// Languages: text keys shown translated, the "text_test" trick, reloading, and what is
// never translated.
#include "UiTestSupport.h"

#include "ui/CEditUI.h"
#include "ui/CLabelUI.h"
#include "ui/IQueryControlText.h"
#include "ui/RecordingRenderTarget.h"

namespace {

using namespace ui;

class LanguageTest : public uitest::LayoutFixture {
protected:
    void SetUp() override {
        skin.Write("lang/lan_en.xml", R"(<Language name="English">
            <Text id="message_text_22">Restore the defaults?</Text>
            <Text id="Key_Set" value=" is set to "/>
            <Text id="kb_device_name_text">Keyboard</Text></Language>)");
        skin.Write("lang/lan_de.xml", R"(<Language name="Deutsch">
            <Text id="message_text_22">Standardwerte wiederherstellen?</Text>
            <Text id="kb_device_name_text">Tastatur</Text></Language>)");
        ASSERT_TRUE(CResourceManager::GetInstance().LoadLanguage("lang\\lan_en.xml"));
    }
    uitest::ScratchSkin skin;
};

TEST_F(LanguageTest, TextKeysReadBackTranslatedAndFollowReload) {
    Build(R"(<VerticalLayout><Label name="text_test" visible="false"/>
             <Label name="MessageText" text="message_text_22" tooltip="kb_device_name_text" height="20"/>
             <Edit name="profile_name" height="20"/><Control/></VerticalLayout>)");
    auto* probe = Find<CLabelUI>("text_test");
    // The trick: set a key, read the text back.
    probe->SetText("Key_Set");
    EXPECT_EQ(probe->GetText(), " is set to ");
    probe->SetText("no_such_key");
    EXPECT_EQ(probe->GetText(), "no_such_key") << "an unknown key shows as it stands";
    auto* message = Find<CLabelUI>("MessageText");
    EXPECT_EQ(message->GetText(), "Restore the defaults?");
    EXPECT_EQ(message->GetTextKey(), "message_text_22");
    EXPECT_EQ(message->GetToolTip(), "Keyboard");

    // Another language: texts change after ReloadText, and the repaint shows them.
    CResourceManager::GetInstance().SetLanguage("Deutsch");
    ASSERT_TRUE(CResourceManager::GetInstance().LoadLanguage("lang/lan_de.xml"));
    CResourceManager::GetInstance().ReloadText();
    EXPECT_TRUE(pm.IsUpdateNeeded());
    EXPECT_EQ(message->GetText(), "Standardwerte wiederherstellen?");
    EXPECT_EQ(message->GetToolTip(), "Tastatur");
    probe->SetText("Key_Set");
    EXPECT_EQ(probe->GetText(), "Key_Set") << "the old language's texts are gone";
    RecordingRenderTarget target;
    pm.Paint(target);
    auto texts = target.Texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Standardwerte wiederherstellen?"), texts.end());

    // What the user typed is never taken for a key.
    auto* edit = Find<CEditUI>("profile_name");
    edit->SetText("message_text_22");
    EXPECT_EQ(edit->GetText(), "message_text_22");
    // A control can opt out.
    message->SetResourceText(false);
    EXPECT_EQ(message->GetText(), "message_text_22");
}

TEST_F(LanguageTest, MissingFilesAndTheQueryInterface) {
    Build(R"(<Label name="text_test"/>)");
    auto* probe = Find<CLabelUI>("text_test");
    EXPECT_FALSE(CResourceManager::GetInstance().LoadLanguage("lang/none.xml"));
    probe->SetText("message_text_22");
    EXPECT_EQ(probe->GetText(), "message_text_22") << "a failed load leaves no stale texts";
    skin.Write("lang/broken.xml", "<Language><Text id=");
    EXPECT_FALSE(CResourceManager::GetInstance().LoadLanguage("lang/broken.xml"));

    struct Query : IQueryControlText {
        std::string QueryControlText(std::string_view key, std::string_view) override {
            return key == "asked" ? "from the program" : "";
        }
    } query;
    CResourceManager::GetInstance().SetTextQueryInterface(&query);
    probe->SetText("asked");
    EXPECT_EQ(probe->GetText(), "from the program");
    probe->SetText("other");
    EXPECT_EQ(probe->GetText(), "other");
    CResourceManager::GetInstance().SetTextQueryInterface(nullptr);
}

}  // namespace
