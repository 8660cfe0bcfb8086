"""Trevo.ini texts for the tests, built from the parts a test cares about."""

_OMIT = object()


def settings_text(desktops_max="3", width="400", height="300", keep_size="0", wallpapers=("",) * 5,
                  no_change=("class(Shell_TrayWnd)",), omit=()):
    """A complete settings file. Any key named in omit ("Max", "Width",
    "Height", "KeepSize") is left out altogether, as opposed to an empty value."""
    def line(key, value):
        return [] if key in omit else [f"{key}={value}"]

    lines = ["[Desktops]", *line("Max", desktops_max), "[Wallpaper]"]
    lines += [f"{number}={path}" for number, path in enumerate(wallpapers, start=1)]
    lines += ["[Size]", *line("KeepSize", keep_size), *line("Width", width), *line("Height", height)]
    lines += ["[NoChange-XP]"] + [f"{index:02d}={entry}" for index, entry in enumerate(no_change, start=1)]
    return "\n".join(lines) + "\n"
