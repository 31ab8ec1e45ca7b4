// CHAIN's names from its target and the hand-over tag on a command line.
#include <gtest/gtest.h>

#include "lifecycle/chain.h"

namespace {

TEST(ChainNames, TargetGivesFolderCommandAndSource) {
    struct {
        const char *target, *folder, *command, *source;
    } cases[] = {
        {"NEXT.BAS", "", "NEXT.exe", "NEXT.BAS"},
        {"next.bas x y", "", "next.exe x y", "next.bas"},
        {"NEXT.EXE arg", "", "NEXT.EXE arg", "NEXT.bas"},
        {"prog", "", "prog.exe ", "prog.bas"},
        {"C:\\TOOLS\\NEXT a b", "C:\\TOOLS\\", "NEXT.exe  a b", "NEXT.bas"},
        {"D:NEXT.BAS", "D:\\", "NEXT.exe", "NEXT.BAS"},
        {"tools/next.bas", "tools\\", "next.exe", "next.bas"},
        {"MY.DIR\\NEXT.BAS", "MY.DIR\\", "NEXT.exe", "NEXT.BAS"},
        {"./next.bas", ".\\", "next.exe", "next.bas"},
        {"/abs/dir/next.Bas a/b", "\\abs\\dir\\", "next.exe a/b", "next.Bas"},  // arguments keep their '/'
        {" x", "", " x.exe ", " x.bas"},  // the split looks from the second character on
    };
    for (const auto& c : cases) {
        chain_names n = chain_derive_names(c.target);
        EXPECT_EQ(n.folder, c.folder) << c.target;
        EXPECT_EQ(n.command, c.command) << c.target;
        EXPECT_EQ(n.source, c.source) << c.target;
    }
}

TEST(ChainNames, OnlyTheExactTagAndADigitNameHandOver) {
    struct {
        const char *line, *file;
    } cases[] = {
        {"a (unique-tag:=/@*$+-)chain123.tmp", "chain123.tmp"},
        {"(unique-tag:=/@*$+-)chain123.tmp", "chain123.tmp"},
        {"a (unique-tag:=/@*$+_)chain123.tmp", ""},
        {"a (unique-tag:=/@*$+-)chain123.TMP", ""},
        {"a (unique-tag:=/@*$+-)chain1x3.tmp", ""},
        {"a (unique-tag:=/@*$+-)chain/../.tmp", ""},
        {"(unique-tag:=/@*$+-)chain123.tm", ""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(chain_tagged_file(c.line), c.file) << c.line;
}

}  // namespace
