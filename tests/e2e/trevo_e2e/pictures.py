"""Large photo-like pictures, made as the benchmarks make theirs (fractal
plasma, softened) and kept in the work folder, since making one takes a while."""

import os
import subprocess


def photo(folder, width, height, kind="jpg", seed=7):
    """The path of a width x height photo of that kind (a file extension
    ImageMagick knows), made on first use."""
    path = os.path.join(folder, f"photo-{width}x{height}-{seed}.{kind}")
    if not os.path.isfile(path):
        os.makedirs(folder, exist_ok=True)
        making = f"{path}.part.{kind}"
        # Softened at half the size and then enlarged: ImageMagick's usual
        # resource policy refuses to blur a picture of many more than 12
        # million pixels.
        subprocess.run(["convert", "-seed", str(seed), "-size", f"{(width + 1) // 2}x{(height + 1) // 2}",
                        "plasma:fractal", "-blur", "0x1", "-resize", f"{width}x{height}!", "-quality", "90", making],
                       check=True, capture_output=True, timeout=600)
        os.replace(making, path)  # a run cut short leaves no half-made picture under the real name
    return path
