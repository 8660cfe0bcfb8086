"""Ratios of paired timings: Trevo and its reference measured in turns, each
pair side by side in time, so that whatever else the machine did in a moment
weighs on both."""

import math
import statistics


class PairedRatio:
    """The median of the per-pair ratios and an interval for it: by the order
    statistics of the sorted ratios, the median of the ratios that more pairs
    would give lies inside it 95 times in 100."""

    def __init__(self, trevo_ms, reference_ms):
        ratios = sorted(t / r for t, r in zip(trevo_ms, reference_ms) if r > 0)
        if not ratios:
            raise ValueError("no pairs")
        self.pairs = len(ratios)
        self.median = statistics.median(ratios)
        half_width = 1.96 * math.sqrt(self.pairs) / 2
        low = max(0, math.floor(self.pairs / 2 - half_width))
        high = min(self.pairs - 1, math.ceil(self.pairs / 2 + half_width) - 1)
        self.low, self.high = ratios[low], ratios[high]

    def within(self, target):
        """'yes' when the whole interval is at or below the target, 'no' when
        all of it is above, 'unclear' when the interval straddles it."""
        if self.high <= target:
            return "yes"
        if self.low > target:
            return "no"
        return "unclear"

    def text(self):
        return f"{self.median:.2f} ({self.low:.2f} - {self.high:.2f})"
