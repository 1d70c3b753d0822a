#include "ui/dialog_template.h"

#include <gtest/gtest.h>

#include <tuple>

#include "ui/dialog_templates.h"
#include "ui/dialog_units.h"

namespace {

TEST(DialogTemplate, ReadsTheDialogLineAndControlsWithTheirOptions) {
  const auto parsed = ParseDialogTemplate(
      "# comment\n"
      "dialog 157 186 128 caption sysmenu resizable\r\n"
      "  \n"
      "icon   -1  7  7 21 20 stays image=128\n"
      "edit  534 60 54 119 12 widen password limit=96 disabled\n"
      "button 507 140 41 14 12 right text=\"\\\\\" push\n"
      "label 540 7 84 118 18 down-widen text=\"say \\\"hi\\\" twice\"\n");
  ASSERT_TRUE(parsed);
  EXPECT_EQ(std::tuple(parsed->id, parsed->width, parsed->height), std::tuple(157, 186, 128));
  EXPECT_TRUE(parsed->caption && parsed->system_menu && parsed->resizable);
  EXPECT_FALSE(parsed->visible || parsed->minimize_box);
  ASSERT_EQ(parsed->controls.size(), 4u);
  EXPECT_EQ(parsed->controls[0].kind, KControlKind::Icon);
  EXPECT_EQ(parsed->controls[0].image, 128);
  const KControlTemplate* password = parsed->Find(534);
  ASSERT_NE(password, nullptr);
  EXPECT_EQ(std::tuple(password->x, password->y, password->width, password->height),
            std::tuple(60, 54, 119, 12));
  EXPECT_EQ(password->anchor, KAnchor::Widen);
  EXPECT_TRUE(password->password && password->disabled);
  EXPECT_EQ(password->limit, 96);
  EXPECT_EQ(parsed->Find(507)->text, u"\\");
  EXPECT_TRUE(parsed->Find(507)->push);
  EXPECT_EQ(parsed->Find(540)->text, u"say \"hi\" twice");
  EXPECT_EQ(parsed->Find(540)->anchor, KAnchor::DownWiden);
}

TEST(DialogTemplate, RefusesFaultyTextsWithTheLineOfTheFault) {
  struct Case {
    const char* text;
    int line;
  };
  const Case cases[] = {
      {"", 1},                                               // no dialog line
      {"label 1 0 0 1 1 stays\n", 1},                        // controls first
      {"dialog 1 10 10\ndialog 2 10 10\n", 2},               // two dialog lines
      {"dialog 1 10 10 wobbly\n", 1},                        // unknown style
      {"dialog 1 10\n", 1},                                  // no height
      {"dialog 1 10 10\nknob 5 0 0 1 1 stays\n", 2},         // unknown kind
      {"dialog 1 10 10\nlabel 5 0 0 1 stays\n", 2},          // place too short
      {"dialog 1 10 10\nlabel 5 0 0 1 1 sideways\n", 2},     // unknown anchor
      {"dialog 1 10 10\nlabel 5 0 x 1 1 stays\n", 2},        // not a number
      {"dialog 1 10 10\nlabel 5 0 -3 1 1 stays\n", 2},       // negative place
      {"dialog 1 10 10\nlabel 5 0 99999 1 1 stays\n", 2},    // beyond any screen
      {"dialog 1 10 10\nlabel 5 0 0 1 1 stays shiny\n", 2},  // unknown option
      {"dialog 1 10 10\nlabel 5 0 0 1 1 stays image=0\n", 2},
      {"dialog 1 10 10\nlabel 5 0 0 1 1 stays text=\"open\n", 2},
      {"dialog 1 10 10\nlabel 5 0 0 1 1 stays\nedit 5 0 0 1 1 stays\n", 3},  // id twice
  };
  for (const Case& c : cases) {
    KTemplateError error;
    EXPECT_FALSE(ParseDialogTemplate(c.text, &error)) << c.text;
    EXPECT_EQ(error.line, c.line) << c.text << ": " << error.message;
    EXPECT_FALSE(error.message.empty());
  }
  // Controls that the code never addresses may share the id -1.
  EXPECT_TRUE(ParseDialogTemplate("dialog 1 10 10\nline -1 0 0 1 1 stays\nline -1 0 5 1 1 stays"));
}

TEST(DialogTemplate, EveryShippedTemplateReadsAndTheDialogsOfThisProgramHaveOne) {
  for (const auto& fault : dialogs::CheckAllTemplates()) {
    ADD_FAILURE() << fault.file.toStdString() << " line " << fault.error.line << ": "
                  << fault.error.message;
  }
  for (const int id : {102, 112, 155, 157}) {
    EXPECT_NE(dialogs::FindTemplate(id), nullptr) << id;
  }
  EXPECT_EQ(dialogs::FindTemplate(4711), nullptr);
  // Every control lies inside its dialog.
  for (const int id : dialogs::AllTemplateIds()) {
    const KDialogTemplate* dialog = dialogs::FindTemplate(id);
    for (const KControlTemplate& control : dialog->controls) {
      EXPECT_LE(control.x + control.width, dialog->width) << id << "/" << control.id;
      if (control.kind != KControlKind::Combo && control.kind != KControlKind::ComboEx) {
        EXPECT_LE(control.y + control.height, dialog->height) << id << "/" << control.id;
      }
    }
  }
}

TEST(DialogUnits, ScaleByAQuarterOfTheAverageWidthAndAnEighthOfTheHeightRounded) {
  const KDialogUnits units(7, 16);
  EXPECT_EQ(units.ToPixelsX(186), 326);  // 186 * 7 / 4 = 325.5
  EXPECT_EQ(units.ToPixels(4, 8, 40, 12), QRect(7, 16, 70, 24));
}

}  // namespace
