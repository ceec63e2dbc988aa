// SPDX-License-Identifier: MIT
#include "platform/daily_start/systemd/systemctl.h"

#include <gtest/gtest.h>

namespace {

using Words = std::vector<std::string>;

TEST(SystemctlTest, ShownListsAreReadBackWordForWord)
{
    // As systemctl show prints a list: a word that needs it in double
    // quotes, with C escapes inside.
    struct Case
    {
        std::string line;
        std::optional<Words> words;
    };
    for (const Case& c : {
             Case{"/a/systemd/user.control /etc/systemd/user", Words{"/a/systemd/user.control", "/etc/systemd/user"}},
             Case{"\"/home/a b/.config/systemd/user\" /etc", Words{"/home/a b/.config/systemd/user", "/etc"}},
             Case{R"("/q \"c\" \\x \$HOME \`id\` it\'s" /b)", Words{"/q \"c\" \\x $HOME `id` it's", "/b"}},
             Case{R"("/t\tn\nv\v\a\b\f\r" "\303\251\377")", Words{"/t\tn\nv\v\a\b\f\r", "\xc3\xa9\xff"}},
             Case{"  /a   \"\"  /b ", Words{"/a", "", "/b"}},
             Case{"", Words{}},
             Case{"\"/unterminated", std::nullopt},
             Case{"\"/a\"/glued", std::nullopt},
             Case{R"("/unknown \q escape")", std::nullopt},
         }) {
        const auto words = ShownWords(c.line);
        EXPECT_EQ(words, c.words) << c.line;
    }
}

} // namespace
