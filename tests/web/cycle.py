# SPDX-License-Identifier: MIT
# One walk through the page's cycle with one kind of input, on a page that
# has just loaded: the start screen, the grid, the cross, the colour pattern,
# the end and a new start, each pattern compared with testcard-render and
# each press that must not step tried on the way.

import os
from pathlib import Path

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common.keys import Keys

import browser

END_TEXT = "testcard has ended. Tap, click or press a key to start again."


def click(driver, button=0, drag=0):
    # The main (0) or the menu (2) button in the middle of the screen,
    # dragged `drag` CSS pixels down before it comes up.
    width, height = driver.execute_script("return [innerWidth, innerHeight]")
    actions = ActionBuilder(driver)
    actions.pointer_action.move_to_location(width // 2, height // 2)
    actions.pointer_action.pointer_down(button=button)
    if drag:
        actions.pointer_action.move_to_location(width // 2, height // 2 + drag)
    actions.pointer_action.pointer_up(button=button)
    actions.perform()


def keyboard(keys):
    return lambda driver: ActionChains(driver).send_keys(keys).perform()


# Per input: what steps (one for each press, in turn: start, cross, colour,
# end, start again), whether a press of it goes full screen, and what does
# not step. Every key that yields a character steps, so each step is a
# different one.
INPUTS = {
    "keyboard": ([keyboard(key) for key in ("a", " ", Keys.ENTER, Keys.ESCAPE, "x")], False,
                 {"arrow": keyboard(Keys.ARROW_RIGHT), "F2": keyboard(Keys.F2),
                  "Shift alone": keyboard(Keys.SHIFT)}),
    "remote": ([lambda d: browser.remote_press(d, browser.REMOTE_OK)] * 5, False,
               {name: lambda d, key=key: browser.remote_press(d, key)
                for name, key in browser.REMOTE_NOT_STEPS.items()}),
    "touch": ([browser.tap, browser.tap, browser.wobbly_tap, browser.tap, browser.tap], True,
              browser.GESTURES),
    "mouse": ([click] * 5, True,
              {"right click": lambda d: click(d, button=2), "drag": lambda d: click(d, drag=80)}),
}


def keep_screenshot(shot, name):
    folder = os.environ.get("TESTCARD_SCREENSHOTS")
    if folder:
        Path(folder).mkdir(parents=True, exist_ok=True)
        shot.save(Path(folder) / f"{name}.png")


def full_screen(driver, wanted):
    browser.wait_for(driver, browser.IN_FULL_SCREEN if wanted else browser.OUT_OF_FULL_SCREEN,
                     "full screen" if wanted else "the end of full screen")
    browser.after_frames(driver)


def walk(driver, render, kind, where, midway=None, screenshots=None):
    # `midway`, at the cross: ("resize", width, height) of the window, or
    # ("full screen again",) after leaving it. `screenshots` names the PNGs
    # kept of each screen when TESTCARD_SCREENSHOTS is set.
    steps, goes_full_screen, not_steps = INPUTS[kind]
    size = browser.canvas_size_other_than(driver, (0, 0))
    where += f", canvas {size[0]}x{size[1]}"

    def check(pattern, after):
        shot = browser.check_picture(driver, render, pattern, f"{where}, {after}")
        if screenshots:
            keep_screenshot(shot, f"{screenshots}-{pattern}")

    for name, press in not_steps.items():
        press(driver)
        browser.settle()
        assert driver.execute_script(browser.START_SHOWN), \
            f"{where}: {name} took the start screen away, as only a press that steps may"
    if screenshots:
        keep_screenshot(browser.screenshot(driver), f"{screenshots}-start")
    steps[0](driver)
    browser.wait_for(driver, browser.START_GONE, "the start screen to go")
    if goes_full_screen:
        full_screen(driver, True)
    check("grid", "after the first press")
    for name, press in not_steps.items():
        press(driver)
        browser.settle()
        check("grid", f"after {name}")
    steps[1](driver)
    check("cross", "after a step")
    if midway and midway[0] == "resize":
        driver.set_window_size(*midway[1:])
        size = browser.canvas_size_other_than(driver, size)
        check("cross", f"resized to {size}")
    if midway and midway[0] == "full screen again":
        driver.execute_script("document.exitFullscreen()")
        full_screen(driver, False)
        check("cross", "out of full screen")
        steps[1](driver)
        full_screen(driver, True)
        check("cross", "back in full screen by a press that must not step")
    steps[2](driver)
    check("colour", "after a step")
    steps[3](driver)
    ended = driver.execute_script(
        "return [document.body.innerText.trim(), !!document.fullscreenElement]")
    assert ended == [END_TEXT, False], f"{where}: after the last step the page is {ended}"
    steps[4](driver)
    browser.wait_for(driver, browser.START_SHOWN, "the page to start again")
