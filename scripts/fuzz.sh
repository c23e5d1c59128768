#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer,
# gathers their seed corpora and runs each target in turn for a given time.
#
#   scripts/fuzz.sh [-t SECONDS] [-o LOGFILE] [TARGET...]
#
#   -t SECONDS  time per target (default 60)
#   -o LOGFILE  appends one summary line per target (target, executions, seconds, result)
#   TARGET      short names (property_file, filelist, item_template, edit_view, loc_show,
#               enable_container, resource, plugin_ini, graph_library, config_folder);
#               all of them when none is given
#
# Environment: FUZZ_BUILD_DIR (default build/fuzz), FUZZ_MAX_LEN (default 65536).
# Inputs that make a target fail are written to $FUZZ_BUILD_DIR/artifacts/TARGET/; copy each into
# fuzz/regressions/TARGET/ once the fault is fixed, so that it replays from then on. The corpus
# that a run grows stays in $FUZZ_BUILD_DIR/corpus/TARGET/ and is used by the next run.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=60
summary=""
while getopts "t:o:" option; do
  case $option in
    t) seconds=$OPTARG ;;
    o) summary=$OPTARG ;;
    *) sed -n '2,16p' "$0"; exit 2 ;;
  esac
done
shift $((OPTIND - 1))

all_targets=(property_file filelist item_template edit_view loc_show enable_container resource
  plugin_ini graph_library config_folder)
targets=("$@")
((${#targets[@]})) || targets=("${all_targets[@]}")

build=${FUZZ_BUILD_DIR:-build/fuzz}
max_len=${FUZZ_MAX_LEN:-65536}

# clang with libFuzzer and the sanitizer runtimes (Debian packages).
scripts/setup.sh
missing=()
command -v clang++ >/dev/null 2>&1 || missing+=(clang)
dpkg -s libclang-rt-dev >/dev/null 2>&1 || compgen -G "/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a" >/dev/null ||
  missing+=(libclang-rt-dev)
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi

echo "== fuzz build (clang, libFuzzer, address, undefined)"
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSITECONFIG_SANITIZE=ON -DSITECONFIG_BUILD_FUZZERS=ON -DSITECONFIG_BUILD_TESTS=OFF \
  -DSITECONFIG_BUILD_TOOLS=OFF >/dev/null
cmake --build "$build" -j 2 --target fuzzers

# --- seed corpora ---------------------------------------------------------------------------------
# Every example and test configuration file goes to the targets that read its kind of file.
corpus_of() { echo "$build/corpus/$1"; }
add_seed() {  # target file
  local dir
  dir=$(corpus_of "$1")
  mkdir -p "$dir"
  cp -f -- "$2" "$dir/seed-$(sha1sum <"$2" | cut -c1-16)"
}
classify() {  # file
  local file=$1 name
  name=$(basename -- "$file")
  case $name in
    filelist.cfg) add_seed filelist "$file"; return ;;
    ItemTemplate.xml) add_seed item_template "$file"; return ;;
    PropertyLocShow.xml) add_seed loc_show "$file"; return ;;
    EnableContainer.xml) add_seed enable_container "$file"; return ;;
    *.ini | *.INI) add_seed plugin_ini "$file"; return ;;
  esac
  if grep -q -a '<PropEditView' -- "$file"; then add_seed edit_view "$file"
  elif grep -q -a '<GraphLibrary' -- "$file"; then add_seed graph_library "$file"
  elif grep -q -a '<Property' -- "$file"; then add_seed property_file "$file"
  elif grep -q -a '<Config' -- "$file"; then add_seed resource "$file"
  fi
}
# A configuration folder as one input of the folder target: "@@ <path>" before each file. Display
# files go under Display/, graph libraries under GraphLibs/, the rest keeps its place.
pack_site() {  # folder
  local root=$1 file rel out
  out=$(corpus_of config_folder)/site-$(echo "$root" | sha1sum | cut -c1-16)
  mkdir -p "$(dirname "$out")"
  : >"$out"
  while IFS= read -r -d '' file; do
    rel=${file#"$root"/}
    if [ -e "$(dirname "$file")/PropertyLocShow.xml" ]; then rel=Display/$(basename -- "$file")
    elif grep -q -a '<GraphLibrary' -- "$file"; then rel=GraphLibs/$(basename -- "$file")
    fi
    printf '@@ %s\n' "$rel" >>"$out"
    cat -- "$file" >>"$out"
    printf '\n' >>"$out"
  done < <(find "$root" -type f -size -64k -print0 | sort -z)
}

for target in "${targets[@]}"; do
  mkdir -p "$(corpus_of "$target")"
  for dir in fuzz/seeds/$target fuzz/regressions/$target; do
    [ -d "$dir" ] && find "$dir" -type f -exec cp -f {} "$(corpus_of "$target")/" \;
  done
done
for root in tests/data examples; do
  [ -d "$root" ] || continue
  while IFS= read -r -d '' file; do classify "$file"; done \
    < <(find "$root" -type f -size -256k \( -name '*.xml' -o -name '*.cfg' -o -name '*.ini' \) -print0)
  # Folders that hold a whole configuration (a definition folder beside the others).
  while IFS= read -r -d '' definitions; do pack_site "$(dirname "$definitions")"; done \
    < <(find "$root" -type d -name Definitions -print0)
done

# --- runs -----------------------------------------------------------------------------------------
failed=()
for target in "${targets[@]}"; do
  binary=$build/fuzz/${target}_fuzzer
  artifacts=$build/artifacts/$target
  log=$build/logs/$target.log
  mkdir -p "$artifacts" "$(dirname "$log")"
  echo "== $target: ${seconds}s"
  status=ok
  # One process at a time (-jobs=1 behaviour without the fork); a 10 s input is a hang.
  if ! ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 \
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len="$max_len" \
    -dict="fuzz/dict/$target.dict" -artifact_prefix="$artifacts/" -print_final_stats=1 \
    "$(corpus_of "$target")" >"$log" 2>&1; then
    status=FAILED
    failed+=("$target")
    grep -E "ERROR|SUMMARY|violated|Test unit written" "$log" | head -20 || true
  fi
  runs=$(grep -Eo 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -Eo '[0-9]+$' || echo '?')
  took=$(grep -Eo 'Done [0-9]+ runs in [0-9]+ second' "$log" | grep -Eo 'in [0-9]+' | grep -Eo '[0-9]+' || echo "$seconds")
  corpus=$(find "$(corpus_of "$target")" -type f | wc -l)
  line="$target executions=$runs seconds=$took corpus=$corpus result=$status"
  echo "$line"
  [ -n "$summary" ] && echo "$line" >>"$summary"
done

if ((${#failed[@]})); then
  echo "fuzz targets failed: ${failed[*]} (inputs in $build/artifacts/)"
  exit 1
fi
