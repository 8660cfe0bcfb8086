"""Bounded waits: poll a condition until it holds or a deadline passes."""

import time


class WaitTimeout(AssertionError):
    """A condition did not come true in time. An AssertionError, so that
    unittest reports it as a test failure with the message."""


def wait_for(condition, timeout, what, interval=0.1, describe=None):
    """Calls condition() until it returns something truthy, and returns that.

    After timeout seconds raises WaitTimeout naming what was awaited and,
    when describe is given, what describe() says about the state then.
    An exception raised by condition() is not retried: it ends the wait.
    """
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() >= deadline:
            break
        time.sleep(min(interval, max(0.0, deadline - time.monotonic())))
    message = f"timed out after {timeout:g} s waiting for {what}"
    if describe is not None:
        try:
            message += "\n" + describe()
        except Exception as error:  # the description must not hide the timeout
            message += f"\n(could not describe the state: {error})"
    raise WaitTimeout(message)
