// The character's tagged texts become SSML for espeak-ng.
#include <gtest/gtest.h>

#include "platform/speech_markup.h"

namespace vlm::platform {
namespace {

TEST(SpeechMarkup, EmphasisCoversTheNextWord) {
  EXPECT_EQ(taggedTextToSsml("No \\emp\\data"), "<speak>No <emphasis>data</emphasis></speak>");
  EXPECT_EQ(taggedTextToSsml("\\emp\\Kein data"), "<speak><emphasis>Kein</emphasis> data</speak>");
  EXPECT_EQ(taggedTextToSsml("\\EMP\\  two words"), "<speak>  <emphasis>two</emphasis> words</speak>");
  EXPECT_EQ(taggedTextToSsml("trailing \\emp\\"), "<speak>trailing </speak>");
}

TEST(SpeechMarkup, TheContextTagLeavesTheTextAsItIs) {
  EXPECT_EQ(taggedTextToSsml("\\Ctx=\"E-mail\"\\No \\emp\\data"), "<speak>No <emphasis>data</emphasis></speak>");
  EXPECT_EQ(taggedTextToSsml("\\Ctx=\"E-mail\"\\a@b.com"), "<speak>a@b.com</speak>");
}

TEST(SpeechMarkup, PausesBecomeBreaksAndUnknownTagsGo) {
  EXPECT_EQ(taggedTextToSsml("one\\Pau=250\\two"), "<speak>one<break time=\"250ms\"/>two</speak>");
  EXPECT_EQ(taggedTextToSsml("one\\Pau=x\\two"), "<speak>onetwo</speak>");
  EXPECT_EQ(taggedTextToSsml("\\Spd=150\\fast"), "<speak>fast</speak>");
}

TEST(SpeechMarkup, TextIsEscapedAndStrayBackslashesAreRead) {
  EXPECT_EQ(taggedTextToSsml("a < b & c > \"d\" 'e'"),
            "<speak>a &lt; b &amp; c &gt; &quot;d&quot; &apos;e&apos;</speak>");
  // A value cannot smuggle in markup of its own.
  EXPECT_EQ(taggedTextToSsml("</speak><audio src=\"x\"/>"),
            "<speak>&lt;/speak&gt;&lt;audio src=&quot;x&quot;/&gt;</speak>");
  EXPECT_EQ(taggedTextToSsml("C:\\1 x\\"), "<speak>C:\\1 x\\</speak>");
  EXPECT_EQ(taggedTextToSsml("end\\"), "<speak>end\\</speak>");
  EXPECT_EQ(taggedTextToSsml("\\\\"), "<speak>\\\\</speak>");
}

}  // namespace
}  // namespace vlm::platform
