"""Trevo speaks its user's language under Wine: with Language=auto the
Properties dialog, OK's message and a bad setting's message are English where
Windows is English (LANG=en_US.UTF-8, code page 1252) and Japanese where it
is Japanese; without the key they are exactly as they always were."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from test_dialog import DialogHelpers  # noqa: E402
from trevo_e2e.case import WineTestCase  # noqa: E402
from trevo_e2e.settings import settings_text  # noqa: E402
from trevo_e2e.wintool import IDOK  # noqa: E402

CHANGE_TIMEOUT = 20
EXIT_TIMEOUT = 30
ENGLISH_WINDOWS = "en_US.UTF-8"
JAPANESE_WINDOWS = "ja_JP.UTF-8"
AUTO = "[Options]\nLanguage=auto\n"

# What each language says: the dialog's title and three captions, OK's message,
# and the first line of a bad setting's message.
ENGLISH = {
    "title": "Trevo - Properties",
    "captions": ("Always show at this size", "* Only when Windows centres the wallpaper", "Cancel"),
    "ok": "The changed properties take effect the next time Trevo starts.",
    "bad": "Trevo cannot start: a setting in its settings file is not valid.",
}
JAPANESE = {
    "title": "Trevo - プロパティ",
    "captions": ("常にこのサイズで表示", "※[中央に表示]の場合のみ", "ｷｬﾝｾﾙ"),
    "ok": "プロパティの変更は次回起動時に反映されます。",
    "bad": "Trevo を起動できません。設定ファイルに正しくない設定があります。",
}
# Without the key: the dialog's Japanese captions and message, every other text English.
AS_THEY_WERE = dict(JAPANESE, title=ENGLISH["title"], bad=ENGLISH["bad"])


class LanguagesTest(DialogHelpers, WineTestCase):
    # Under LANG=en_US.UTF-8 Wine draws the menu's entries of this prefix as
    # grey boxes (its menu font has no glyphs there); the dialog, in Trevo's
    # own font, is drawn whole.
    menu_ink = 600

    def assert_speaks(self, texts, windows, more_settings):
        trevo = self.start(more_settings, locale=windows)
        dialog = self.open_dialog(trevo, texts["title"])
        for caption in texts["captions"]:
            self.assertIsNotNone(self.child(dialog, caption), f"no control captioned {caption!r}")
        self.wintool.press(dialog["hwnd"], caption="OK")
        box = self.wait(lambda: [d for d in trevo.message_boxes() if texts["ok"] in "".join(d["texts"])],
                        CHANGE_TIMEOUT, f"the message {texts['ok']!r} after OK")[0]
        self.wintool.press(box["hwnd"], button_id=IDOK)
        trevo.stop()

        bad = settings_text(desktops_max="9") + more_settings
        trevo = self.start_trevo(bad, locale=windows)
        box = self.wait(lambda: [d for d in trevo.message_boxes() if texts["bad"] in "".join(d["texts"])],
                        CHANGE_TIMEOUT, f"the message {texts['bad']!r} about Max=9")[0]
        self.assertIn('[Desktops] Max', "".join(box["texts"]))
        self.wintool.press(box["hwnd"], button_id=IDOK)
        self.assertEqual(trevo.wait_exit(EXIT_TIMEOUT), 1, "Trevo did not stop after the bad setting")

    def test_auto_on_an_english_windows_speaks_english(self):
        self.assert_speaks(ENGLISH, ENGLISH_WINDOWS, AUTO)

    def test_auto_on_a_japanese_windows_speaks_japanese(self):
        self.assert_speaks(JAPANESE, JAPANESE_WINDOWS, AUTO)

    def test_without_the_key_the_texts_are_as_they_were(self):
        self.assert_speaks(AS_THEY_WERE, ENGLISH_WINDOWS, "")


if __name__ == "__main__":
    unittest.main(verbosity=2)
