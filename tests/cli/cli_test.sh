#!/usr/bin/env bash
# usage: cli_test.sh [EMULATOR...] path/to/manacalc-cli
# Runs the real manacalc-cli against a table of cases: arguments, standard
# input, expected standard output, expected exit status, and a text that
# standard error must contain (empty: standard error must be empty). A row may
# also set, for itself alone, stdin_from: a file to read instead of its input,
# stdout_to: a file standard output goes to instead of being compared,
# err_lines: how many lines standard error must have, and locale: the program's
# LC_ALL (under wine this picks the Windows code page).
set -u
# The program, with whatever runs it in front (wine for a Windows build).
cli=("$@")
failures=0
count=0

# Rows with a locale need it to exist: wine takes the Windows code page from it and
# reads the arguments in its character set. Built here, so no system setup is needed.
locales=$(mktemp -d)
trap 'rm -rf "$locales"' EXIT
for l in ja_JP de_DE; do
    localedef -i "$l" -f UTF-8 "$locales/$l.UTF-8" 2>/dev/null || echo "cli: cannot build locale $l.UTF-8"
done

check() {
    local name=$1 input=$2 expected_out=$3 expected_rc=$4 expected_err=$5
    shift 5
    local in out err rc expected
    # A trailing x keeps the trailing newlines that $(...) would strip.
    expected=$(printf '%b' "$expected_out"; echo x)
    expected=${expected%x}
    in=$(mktemp)
    err=$(mktemp)
    printf '%b' "$input" >"$in"
    out=$(${locale:+env LOCPATH="$locales" LC_ALL="$locale"} "${cli[@]}" "$@" <"${stdin_from:-$in}" >"${stdout_to:-/dev/stdout}" 2>"$err"; echo "rc=$?")
    rc=${out##*rc=}
    out=${out%rc=*}
    count=$((count + 1))
    local ok=1
    [ "$out" == "$expected" ] || ok=0
    [ "$rc" == "$expected_rc" ] || ok=0
    if [ -z "$expected_err" ]; then
        [ ! -s "$err" ] || ok=0
    else
        grep -qF -- "$expected_err" "$err" || ok=0
    fi
    [ -z "${err_lines:-}" ] || [ "$(wc -l <"$err")" -eq "$err_lines" ] || ok=0
    if [ $ok -eq 0 ]; then
        failures=$((failures + 1))
        echo "FAIL $name (exit $rc, expected $expected_rc)"
        echo "  stdout:   $(printf '%q' "$out")"
        echo "  expected: $(printf '%q' "$expected")"
        echo "  stderr:   $(cat "$err")"
    fi
    rm -f "$in" "$err"
}

ok_row='12\t0.833333333333333\t220\t219.175\t2\t0.5\tok\n'

# --batch: one output line per input line.
check batch_three_inputs_and_recovery '100\t99.5\t0\n5\n' "${ok_row}2\tok\n" 0 '' --batch
check batch_crlf '100\t99.5\t0\r\n5\r\n' "${ok_row}2\tok\n" 0 '' --batch
check batch_leading_byte_order_mark '\xef\xbb\xbf100\t99.5\t0\n' "$ok_row" 0 '' --batch
check batch_lone_cr_line_ends '100\t99.5\t0\r5\r3\r' "${ok_row}2\tok\n3.33333333333333\tok\n" 0 '' --batch
# The CR is the last byte of the first 64 KiB read, its LF the first of the next.
check batch_crlf_split_across_reads "$(printf '%*s' 65534 '')5\r\n3\n" \
    '2\tok\n3.33333333333333\tok\n' 0 '' --batch
check batch_last_line_without_newline '100\t99.5\t0\n3' "${ok_row}3.33333333333333\tok\n" 0 '' --batch
check batch_empty_input '' '' 0 '' --batch
check batch_empty_input_is_skipped '\t0\t0\n' '0\t0\t0\t0\t0\t0\tskipped\n' 0 '' --batch
check batch_overflow_before_writing '0\t40000\t0\n' '0\t0\t0\t0\t0\t0\toverflow\n' 0 '' --batch
check batch_overflow_keeps_partial_writes '999\t20000\t999\n' \
    '1728\t5.78703703703704E-03\t0\t0\t0\t0\toverflow\n' 0 '' --batch
check batch_floating_point '-80\t0\t0\n' '0\t0\t0\t0\t0\t0\tfloating-point\n' 0 '' --batch
check batch_recovery_rounding_to_zero '.4\n\n' '0\tskipped\n0\tskipped\n' 0 '' --batch
check batch_recovery_overflow '40000\n' '0\toverflow\n' 0 '' --batch
check batch_fresh_fields_each_line '0\t0\t-40\n1\t0\t0\n' \
    '0\t0\t0\t0\t0\t0\tfloating-point\n2\t5\t20\t0.5\t39\t13\tok\n' 0 '' --batch
check batch_bad_lines_keep_numbering '1\t2\n100\t99.5\t0\n1\t2\t3\t4\n' \
    "bad-line\n${ok_row}bad-line\n" 1 'line 3' --batch
err_lines=11 check batch_many_bad_lines_counted "$(printf '1\\t2\\n%.0s' {1..12})" \
    "$(printf 'bad-line\\n%.0s' {1..12})" 1 '12 bad lines in all, only the first 10 shown' --batch
# What scripts read stays the same bytes in every locale; only the message is translated.
for l in C C.UTF-8 ja_JP.UTF-8; do
    locale=$l err_lines=1 check "batch_statuses_under_$l" '100\t99.5\t0\n1\t2\n.4\n-80\t0\t0\n' \
        "${ok_row}bad-line\n0\tskipped\n0\t0\t0\t0\t0\t0\tfloating-point\n" 1 'manacalc-cli: ' --batch
done
check batch_line_longer_than_read_buffer "$(printf '%*s' 100000 '')5\n" '2\tok\n' 0 '' --batch

# Three inputs on the command line.
check inputs_in_window_order '' \
    '回復値\t12\n1mana sec\t0.833333333333333\nFPoint\t219.175\nNext FPoint\t220\nNext INT\t2\nNext Medi\t0.5\nNext Focus\t20\n' \
    0 '' 100 99.5 0
check inputs_negative_int_is_not_an_option '' \
    '回復値\t0\n1mana sec\t0\nFPoint\t0\nNext FPoint\t0\nNext INT\t0\nNext Medi\t0\nNext Focus\t20\n' \
    1 'floating-point' -80 0 0
check inputs_error_after_partial_writes '' \
    '回復値\t1728\n1mana sec\t5.78703703703704E-03\nFPoint\t0\nNext FPoint\t0\nNext INT\t0\nNext Medi\t0\nNext Focus\t20\n' \
    1 'overflow' 999 20000 999
check inputs_not_numeric_names_field '' '' 2 'Medi is not a number' 100 abc 0
locale=ja_JP.UTF-8 check inputs_not_numeric_in_japanese '' '' 2 'Medi が数値ではありません' 100 abc 0
# Typed with an input method left on. Windows hands a program its arguments in the
# ANSI code page, where a Japanese one gives full-width digits other bytes than UTF-8.
locale=ja_JP.UTF-8 check inputs_fullwidth_under_japanese_code_page '' \
    '回復値\t12\n1mana sec\t0.833333333333333\nFPoint\t219.175\nNext FPoint\t220\nNext INT\t2\nNext Medi\t0.5\nNext Focus\t20\n' \
    0 '' １００ ９９．５ ０
check inputs_after_double_dash '' \
    '回復値\t2\n1mana sec\t5\nFPoint\t0\nNext FPoint\t20\nNext INT\t40\nNext Medi\t13.4\nNext Focus\t20\n' \
    0 '' -- 0 0 0

# --recovery.
check recovery_value '' '3.33333333333333\n' 0 '' --recovery 3
check recovery_negative '' '3.33333333333333\n' 0 '' --recovery -3
check recovery_rounding_to_zero '' '' 2 'rounds to 0' --recovery .4
check recovery_not_numeric '' '' 2 'not a number' --recovery x
# A Latin code page would turn the subscript into a plain 3.
locale=de_DE.UTF-8 check recovery_subscript_under_latin_code_page '' '' 2 \
    'recovery value is not a number: "₃"' --recovery ₃
# 1mana sec as the error left it, as with three inputs.
check recovery_overflow '' '0\n' 1 'overflow' --recovery 40000
check recovery_after_double_dash '' '2\n' 0 '' --recovery -- -5

# Arguments.
check version '' 'manacalc-cli 1.10.0\nCopyright (c) 2026 the manacalc authors\n'\
'License: MIT <https://opensource.org/licenses/MIT>.\n'\
'This is free software: you are free to change and redistribute it.\n'\
'There is NO WARRANTY, to the extent permitted by law.\n' 0 '' --version
check no_arguments '' '' 2 'Usage:'
check two_inputs '' '' 2 'Usage:' 1 2
check unknown_option '' '' 2 'unknown or misplaced option' --fast 1 2 3
check recovery_without_value '' '' 2 'the VALUE is missing' --recovery

# Input that cannot be read and output that cannot be written are failures, each
# reported once with its cause.
# Windows cannot hand a program a directory as its input; wine makes the read fail as
# an invalid argument.
unreadable='cannot read standard input: Is a directory'
[ ${#cli[@]} -eq 1 ] || unreadable='cannot read standard input: Invalid argument'
stdin_from=/ err_lines=1 check batch_unreadable '' '' 3 "$unreadable" --batch
full='cannot write standard output: No space left on device'
stdout_to=/dev/full err_lines=1 check inputs_unwritten_over_calculation_error '' '' 3 "$full" -80 0 0
stdout_to=/dev/full err_lines=1 check batch_unwritten '5\n' '' 3 "$full" --batch
stdout_to=/dev/full err_lines=1 check recovery_unwritten '' '' 3 "$full" --recovery 3
stdout_to=/dev/full err_lines=1 check help_unwritten '' '' 3 "$full" --help

# --help starts with the usage, in the locale's language, and documents the batch
# statuses as scripts read them.
for row in 'C:Usage: manacalc-cli INT MEDI FOCUS' 'ja_JP.UTF-8:使用法: manacalc-cli INT MEDI FOCUS'; do
    help=$(LOCPATH="$locales" LC_ALL="${row%%:*}" "${cli[@]}" --help) && help_rc=0 || help_rc=$?
    count=$((count + 1))
    if [ "$help_rc" -ne 0 ] || [[ "$help" != "${row#*:}"* ]] || [[ "$help" != *"floating-point"* ]]; then
        failures=$((failures + 1))
        echo "FAIL help under ${row%%:*} (exit $help_rc)"
    fi
done

echo "cli: $((count - failures)) passed, $failures failed"
[ $failures -eq 0 ]
