#include <gtest/gtest.h>

#include "GlFixture.h"
#include "base/GameWide.h"
#include "core/Scene.h"
#include "text/GameTexts.h"
#include "text/TextBox.h"

namespace {
class SceneTexts : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(GlFixture::get().ready());
        texts = std::make_unique<GameTexts>();
        GameWide<GameTexts>::set(texts.get());
        texts->loadLanguage(0, "Assets/");
        ASSERT_GT(texts->fontCount(), 5u);
    }
    void TearDown() override { GameWide<GameTexts>::set(nullptr); }
    std::unique_ptr<GameTexts> texts;
};
} // namespace

TEST_F(SceneTexts, LanguageChangeRereadsEveryBoxAndTheTips) {
    Scene scene;
    auto box = std::make_unique<TextBox>();
    box->setText("OPT_START", 10, 10);
    TextBox* shown = box.get();
    scene.elements.push_back(std::move(box));
    scene.elements.push_back(std::make_unique<GraphicElement>());
    scene.setButtonTips(2);
    const std::string english = texts->getText("OPT_START");
    const std::string englishWalk = scene.tipLines[1]->text;
    ASSERT_EQ(shown->lines.front()->text, english);

    texts->changeLanguage(1);
    const std::string spanish = texts->getText("OPT_START");
    ASSERT_NE(spanish, english);
    scene.refreshTexts();
    EXPECT_EQ(shown->lines.front()->text, spanish);
    // The tips keep their layout (six, the level's) and now speak the new language.
    ASSERT_EQ(scene.tipLines.size(), 6u);
    EXPECT_EQ(scene.tipLayout, 2);
    EXPECT_EQ(scene.tipLines[1]->text, texts->getText("BUTTONTIP_WALK"));
    EXPECT_NE(scene.tipLines[1]->text, englishWalk);
}

TEST_F(SceneTexts, TipsStandRightToLeftAndTheNoticeBottomLeft) {
    Scene scene;
    scene.setButtonTips(7); // any other layout: mouse, back, accept
    ASSERT_EQ(scene.tipLines.size(), 3u);
    EXPECT_EQ(scene.tipIcons, (std::vector<uint16_t>{Scene::kNoIcon, 1, 0}));
    const auto& tips = scene.tipLines;
    // Right-aligned at 40 from the window's right edge; the next tip ends where the first begins,
    // and the one after the back tip leaves 24 pixels for the back tip's icon.
    EXPECT_EQ(tips[0]->drawX + tips[0]->width, scene.windowWidth - 40);
    EXPECT_EQ(tips[1]->drawX + tips[1]->width, tips[0]->drawX);
    EXPECT_EQ(tips[2]->drawX + tips[2]->width, tips[1]->drawX - 24);
    for (const auto& tip : tips)
        EXPECT_EQ(tip->y, scene.windowHeight - 40);

    scene.showNotice("GEN_BACK");
    EXPECT_EQ(scene.noticeTime, 3000);
    EXPECT_EQ(scene.noticeLine->text, texts->getText("GEN_BACK"));
    EXPECT_EQ(scene.noticeLine->x, 40);
    EXPECT_EQ(scene.noticeLine->y, scene.windowHeight - 40);

    scene.elements.push_back(std::make_unique<GraphicElement>());
    scene.hoveredElement = 0;
    scene.reset();
    EXPECT_TRUE(scene.elements.empty());
    EXPECT_EQ(scene.hoveredElement, -1);
    EXPECT_GE(scene.fadeTexture, 0); // the base pictures are loaded again
}
