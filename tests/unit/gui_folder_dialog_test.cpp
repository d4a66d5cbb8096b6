// The folder dialog's choices, what a file-mask choice does to the mask field, and the path check.
#include <gtest/gtest.h>

#include "core/gui/folder_dialog.h"
#include "core/text/translate.h"

namespace mrf {
namespace {

TEST(GuiFolderDialog, PresetsInChoiceOrder) {
    struct {
        std::string_view text;
        const char* mask; // nullptr: the field keeps its text
    } expected[] = {
        {"Protect the folder itself and all subfolders and files inside the folder", "*"},
        {"Protect all subfolders and files inside the folder", "\\*"},
        {"Protect all files inside the folder and subfolders", "*.*"},
        {"Protect all documents files inside the folder and subfolders", "*.doc;*.rtf;*.txt"},
        {"Protect all executable files inside the folder and subfolders", "*.exe;*.com;*.bat;*.cmd"},
        {"Enter custom file mask", nullptr},
    };
    auto presets = MaskPresets();
    ASSERT_EQ(presets.size(), std::size(expected));
    for (size_t i = 0; i < presets.size(); ++i) {
        EXPECT_EQ(presets[i].text, expected[i].text) << i;
        EXPECT_EQ(presets[i].mask.has_value(), expected[i].mask != nullptr) << i;
        if (expected[i].mask) {
            EXPECT_EQ(*presets[i].mask, expected[i].mask) << i;
        }
    }
    EXPECT_EQ(MaskPresets()[kCustomMaskChoice].text, "Enter custom file mask");
}

TEST(GuiFolderDialog, EveryChoiceSetsTheFieldAndOnlyTheCustomOneEnablesIt) {
    FolderDialogState dialog;
    EXPECT_EQ(dialog.mask, "*");
    EXPECT_FALSE(dialog.maskEnabled);

    ChooseMask(dialog, 4);
    EXPECT_EQ(dialog.mask, "*.exe;*.com;*.bat;*.cmd");
    EXPECT_FALSE(dialog.maskEnabled);

    // The custom choice keeps what the previous choice left there.
    ChooseMask(dialog, kCustomMaskChoice);
    EXPECT_EQ(dialog.mask, "*.exe;*.com;*.bat;*.cmd");
    EXPECT_TRUE(dialog.maskEnabled);
    dialog.mask = "*.jpg";

    ChooseMask(dialog, 1);
    EXPECT_EQ(dialog.mask, "\\*");
    EXPECT_FALSE(dialog.maskEnabled);
    ChooseMask(dialog, 0);
    EXPECT_EQ(dialog.mask, "*");
    EXPECT_EQ(dialog.maskChoice, 0);
}

TEST(GuiFolderDialog, PathMustHoldMoreThanBlanks) {
    for (const char* refused : {"", " ", "   ", "\t", " \t "})
        EXPECT_EQ(CheckFolderPath(refused), (UserMessage{"Please enter the folder path !", "Umberlock"}))
            << '"' << refused << '"';
    for (const char* accepted : {"C:\\Docs", " C:\\Docs ", "x", "D:\\", "\\\\server\\share"})
        EXPECT_FALSE(CheckFolderPath(accepted)) << accepted;
}

TEST(GuiFolderDialog, AdvancedFieldsGoBackOnlyThroughAccept) {
    FolderDialogState dialog;
    dialog.path = "C:\\Docs";
    dialog.exclFiles = "a.txt";
    AdvancedFields fields = OpenAdvanced(dialog);
    EXPECT_EQ(fields, (AdvancedFields{"C:\\Docs", "a.txt", "", ""}));

    fields = {"ignored", "b.txt", "word.exe", "backup.exe"};
    AcceptAdvanced(dialog, fields);
    EXPECT_EQ(dialog.path, "C:\\Docs"); // the label is not an input
    EXPECT_EQ(dialog.exclFiles, "b.txt");
    EXPECT_EQ(dialog.inclProc, "word.exe");
    EXPECT_EQ(dialog.exclProc, "backup.exe");
}

// What the settings file cannot hold is refused with a message naming the field, translated.
TEST(GuiFolderDialog, FieldsWithLineBreaksAreRefused) {
    const std::string nul("a\0b", 3);
    EXPECT_FALSE(CheckFolderFields("C:\\Docs", "*.doc;*.txt"));
    EXPECT_EQ(CheckFolderFields("C:\\Docs\r\nC:\\Other", "*")->field, FolderField::Path);
    EXPECT_EQ(CheckFolderFields("C:\\Docs", "*\n*")->field, FolderField::Mask);
    EXPECT_EQ(CheckFolderFields("C:\\Docs", nul)->field, FolderField::Mask);
    EXPECT_EQ(CheckFolderFields("C:\\Docs\n", "*\n")->message,
              (UserMessage{"The folder path cannot contain line breaks.", "Umberlock"}));

    EXPECT_FALSE(CheckAdvancedFields({"C:\\Docs\nlabel only", "a.txt", "word.exe;x=1", ""}));
    EXPECT_EQ(CheckAdvancedFields({"", "a.txt\rb.txt", "", ""})->field, FolderField::ExclFiles);
    EXPECT_EQ(CheckAdvancedFields({"", "", "word.exe\n", ""})->field, FolderField::InclProc);
    EXPECT_EQ(CheckAdvancedFields({"", "", "", "\nbackup.exe"})->field, FolderField::ExclProc);

    SetTranslations(
        {{"The file mask cannot contain line breaks.", "Keine Zeilenumbrueche in der Dateimaske."}});
    EXPECT_EQ(CheckFolderFields("C:\\Docs", "*\n")->message.text, "Keine Zeilenumbrueche in der Dateimaske.");
    SetTranslations({});
}

} // namespace
} // namespace mrf
