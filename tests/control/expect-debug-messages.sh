#!/bin/sh
# Runs a command with Wine's debugger-output channel on and checks that it
# succeeded and wrote the four category failure messages, in order.
#   expect-debug-messages.sh COMMAND [ARGS...]
output=$(WINEDEBUG=+debugstr "$@" 2>&1)
status=$?
printf '%s\n' "$output" | grep -v ':debugstr:'
if [ $status -eq 77 ]; then  # wine-run could not run the program here
    exit 77
fi
if [ $status -ne 0 ]; then
    echo "FAIL: the program exited with $status"
    exit 1
fi
messages=$(printf '%s\n' "$output" | grep ':debugstr:OutputDebugStringA' | grep -o 'Failed to [^!]*!')
expected='Failed to create component category (scriptable)!
Failed to create component category (persistence)!
Failed to register control as safe for scripting!
Failed to register control as safe for initializing!'
if [ "$messages" != "$expected" ]; then
    echo "FAIL: debugger output was:"
    printf '%s\n' "$messages"
    echo "expected:"
    printf '%s\n' "$expected"
    exit 1
fi
echo "ok: the four messages, in order"
