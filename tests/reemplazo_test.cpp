#include "texto/reemplazo.h"

#include <gtest/gtest.h>

namespace {

TEST(ReemplazaCaracteres, Algoritmo) {
    struct Caso {
        const char16_t *texto, *buscado, *por, *resultado;
    } casos[] = {
        {u"1,5,2", u",", u".", u"1.5.2"},
        {u"abc", u"b", u"b", u"abc"},
        {u"abc", u"x", u"y", u"abc"},
        {u"abab", u"ab", u"x", u"xbxb"},
        {u"a,b", u",", u"XYZ", u"aXY"},
        {u"aaa", u"a", u"aa", u"aaa"},
        {u"Aa", u"a", u"b", u"Ab"},
        {u"", u"a", u"b", u""},
        // the search goes on after the overwritten stretch, and the length never changes
        {u"ab", u"a", u"xa", u"xa"},
        {u"aab", u"a", u"xa", u"xab"},
        {u"abc", u"b", u"", u"abc"}, // empty replacement: unchanged, no endless loop
    };
    for (const Caso& c : casos)
        EXPECT_EQ(ReemplazaCaracteres(c.texto, c.buscado, c.por), std::u16string(c.resultado));
}

} // namespace
