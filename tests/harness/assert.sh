# Small assertions for the shell tests; finish prints the tally and sets the exit code.
passed=0
failed=0
check() { # description, command...
    local what=$1; shift
    if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: $what"; fi
}
check_eq() { # description, actual, expected
    if [[ "$2" == "$3" ]]; then passed=$((passed + 1)); else
        failed=$((failed + 1)); printf 'FAIL: %s\n  expected: %q\n  actual:   %q\n' "$1" "$3" "$2"; fi
}
finish() {
    echo "$passed passed, $failed failed"
    [[ $failed -eq 0 ]]
}

# Polls a command until it succeeds, for at most the given seconds.
wait_until() { # seconds command...
    local end=$((SECONDS + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        ((SECONDS < end)) || return 1
        sleep 0.1
    done
}
