#!/bin/bash
# Runs the cases of a GoogleTest program, under Wine or (PREFIX "-") natively, with as few starts
# of the program as it can, each start of a Wine process costing about half a second, and of a
# program under the sanitizers a tenth: once for all the cases the filter takes, and once more
# after each case that crashed or hung, for the cases not yet run. A case
# that ends the program, or prints nothing for LIMIT seconds, fails, and the others still run. A
# start that prints nothing for a minute is Wine's hang, not a case's: it is tried once more.
# The program's output passes through; a failed case is named at the end. The counts of cases
# go into COUNTS_FILE as "PASSED FAILED SKIPPED", and the script fails when any case failed.
#   run-test-cases.sh PREFIX COUNTS_FILE PROGRAM [FILTER] [LIMIT]
set -u
prefix=$1
counts=$2
program=$3
filter=${4:-*}
limit=${5:-120}
run=("$(dirname "$0")/wine-run.sh" "$prefix" "$program")
[ "$prefix" = - ] && run=("$program")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$(dirname "$counts")"
rm -f "$counts"

declare -A result # case -> passed, failed or skipped
declare -a order  # the cases in the order they ended

# Runs the program with the arguments, its output into the file, and stops it, and everything
# it started, once the output has not grown for LIMIT seconds.
run_watched() {
    local output=$1
    shift
    : >"$output"
    setsid "${run[@]}" "$@" >"$output" 2>&1 &
    local pid=$! size=-1 quiet=0 now
    while kill -0 "$pid" 2>/dev/null; do
        sleep 0.2
        now=$(stat -c %s "$output")
        if [ "$now" -eq "$size" ]; then
            quiet=$((quiet + 1))
        else
            quiet=0
            size=$now
        fi
        # A program that has printed nothing did not start: Wine now and then hangs in a start.
        if [ "$quiet" -ge $((limit * 5)) ] || { [ "$size" -eq 0 ] && [ "$quiet" -ge 300 ]; }; then
            echo "run-test-cases.sh: no output for $((quiet / 5)) s; the program is stopped" \
                >>"$output"
            kill -KILL -- "-$pid" 2>/dev/null
            break
        fi
    done
    wait "$pid" 2>/dev/null
}

# The program's cases that the filter takes, one "Suite.Name" a line.
list_cases() {
    run_watched "$work/list" --gtest_list_tests "--gtest_filter=$filter"
    awk '/^[^ ]/ { suite = $1 } /^  [^ ]/ { print suite $1 }' "$work/list"
}

# Notes each case the output says has ended, and in unfinished the one that started and did
# not end; ended counts the cases that ended.
take_results() {
    local line name
    unfinished=""
    ended=0
    while IFS= read -r line; do
        case $line in
        "[ RUN      ] "*) unfinished=${line#"[ RUN      ] "} ;;
        "[       OK ] "* | "[  SKIPPED ] "* | "[  FAILED  ] "*)
            # The summary names the failed cases again, without their time.
            [[ $line == *" ms)" ]] || continue
            name=${line:13}
            name=${name%% *}
            name=${name%,}
            [ -n "${result[$name]:-}" ] || order+=("$name")
            case $line in
            "[  FAILED  ] "*) result[$name]=failed ;;
            "[  SKIPPED ] "*) result[$name]=skipped ;;
            *) result[$name]=passed ;;
            esac
            [ "$name" = "$unfinished" ] && unfinished=""
            ended=$((ended + 1))
            ;;
        esac
    done <"$work/output"
}

current=$filter
cases=()
while :; do
    run_watched "$work/output" "--gtest_filter=$current"
    cat "$work/output"
    take_results
    grep -q '^\[==========\] .* ran\.' "$work/output" && [ -z "$unfinished" ] && break
    if [ -n "$unfinished" ]; then
        echo "run-test-cases.sh: $unfinished ended the program or hung"
        [ -n "${result[$unfinished]:-}" ] || order+=("$unfinished")
        result[$unfinished]=failed
        ended=$((ended + 1))
    fi
    [ ${#cases[@]} -gt 0 ] || mapfile -t cases < <(list_cases)
    left=()
    for name in "${cases[@]}"; do
        [ -n "${result[$name]:-}" ] || left+=("$name")
    done
    [ ${#left[@]} -gt 0 ] || break
    if [ "$ended" -eq 0 ] && [ -z "$unfinished" ] && [ -z "${restarted:-}" ]; then
        echo "run-test-cases.sh: the program ran no case; it is started once more"
        restarted=yes
        continue
    fi
    if [ "$ended" -eq 0 ]; then
        echo "run-test-cases.sh: the program ended without running ${#left[@]} case(s)"
        for name in "${left[@]}"; do
            order+=("$name")
            result[$name]=failed
        done
        break
    fi
    current=$(IFS=:; echo "${left[*]}")
done

passed=0
failed=0
skipped=0
failures=()
for name in "${order[@]}"; do
    case ${result[$name]} in
    passed) passed=$((passed + 1)) ;;
    skipped) skipped=$((skipped + 1)) ;;
    *)
        failed=$((failed + 1))
        failures+=("$name")
        ;;
    esac
done
if [ $((passed + failed + skipped)) -eq 0 ]; then
    echo "run-test-cases.sh: no case ran"
    failed=1
fi
echo "$passed $failed $skipped" >"$counts"
for name in "${failures[@]}"; do
    echo "FAILED CASE: $name"
done
left_out=""
[ "$skipped" -eq 0 ] || left_out=", $skipped skipped"
echo "cases: $passed passed, $failed failed$left_out"
[ "$failed" -eq 0 ]
