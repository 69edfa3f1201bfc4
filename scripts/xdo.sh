# Helpers of the scripts that drive the real program under Xvfb with xdotool; sourced,
# with DISPLAY already set.

# The id of the first visible window whose title matches, waiting up to 10 s for it;
# empty when none appeared.
find_window() {
    local found=""
    for _ in $(seq 100); do
        found="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)"
        [ -n "$found" ] && break
        sleep 0.1
    done
    echo "$found"
}

# A left click at x, y inside the window, then a moment for the program to answer.
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.5; }
