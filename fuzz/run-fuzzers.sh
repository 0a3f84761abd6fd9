#!/usr/bin/env bash
# make fuzz: builds the libFuzzer targets with clang-14 and runs each in turn
# for FUZZ_SECONDS (default 180) from its seed corpus in fuzz/corpus/, at
# the lowest priority. Stops at the first finding, which libFuzzer leaves in
# build/fuzz/findings/; the corpus grown so far stays in build/fuzz/corpus/.
set -eu
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-180}
targets=${FUZZ_TARGETS:-"scan reg_file settings_file version_text command_line"}
build=build/fuzz

# The longest input each target is given: long enough for its format, short
# enough that an input costs microseconds. A store file of 1 KiB holds several
# servers; longer ones only let keys nest deeper, and a key's depth costs its
# square (every section names its whole path).
max_len() {
  case $1 in
    scan) echo 2048 ;;
    reg_file) echo 1024 ;;
    *) echo 256 ;;
  esac
}

cmake -S . -B $build -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" -DKELVARY_FUZZ=ON >/dev/null
cmake --build $build --target $(for t in $targets; do printf '%s_fuzzer ' "$t"; done)
mkdir -p $build/findings
for t in $targets; do
  mkdir -p $build/corpus/$t
  echo "fuzzing $t for $seconds s"
  nice -n 19 $build/fuzz/${t}_fuzzer -max_total_time="$seconds" -max_len="$(max_len "$t")" \
    -artifact_prefix=$build/findings/$t- -print_final_stats=1 $build/corpus/$t fuzz/corpus/$t \
    >$build/$t.log 2>&1 || { tail -n 40 $build/$t.log; echo "fuzz: $t found a fault; see $build/findings/"; exit 1; }
  grep -h 'stat::number_of_executed_units' $build/$t.log
done
