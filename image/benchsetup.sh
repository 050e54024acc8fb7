# Shared by the image benchmarks' run.sh (sourced, POSIX sh): the arguments,
# the benchmark program, and a folder of photo-like JPEGs.
#   bench_setup PROGRAM_NAME DEFAULT_COUNT TOOL... -- "$@"
# sets bench, count, rounds and work (a temporary folder removed on exit).
bench_setup() {
    name=$1
    default_count=$2
    shift 2
    tools=""
    while [ "$#" -gt 0 ] && [ "$1" != -- ]; do
        tools="$tools $1"
        shift
    done
    [ "$#" -gt 0 ] && shift
    target=${1:-}
    count=${2:-$default_count}
    rounds=${3:-3}
    if [ -z "$target" ]; then
        echo "usage: $0 $(echo "$name" | tr a-z A-Z)|BUILD_DIR [COUNT] [ROUNDS]" >&2
        exit 2
    fi
    if [ -d "$target" ]; then
        bench=$(find "$target" -name "$name" -type f -perm -u+x | head -n 1)
    else
        bench=$target
    fi
    if [ -z "$bench" ] || [ ! -x "$bench" ]; then
        echo "no $name in $target (configure with -DVX_BENCH=ON)" >&2
        exit 2
    fi
    for tool in $tools; do
        command -v "$tool" >/dev/null || { echo "$tool is missing" >&2; exit 2; }
    done
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT INT TERM
}

# Photo-like content: smooth areas with grain, quality 90, WIDTHxHEIGHT,
# named photo01.jpg, photo02.jpg, ... in list order.
make_photos() {
    i=1
    while [ "$i" -le "$count" ]; do
        convert -seed "$i" -size "$(($1 / 4))x$(($2 / 4))" plasma:fractal -resize "$1x$2!" \
            -attenuate 0.4 +noise Gaussian -quality 90 "$work/photo$(printf %02d "$i").jpg"
        i=$((i + 1))
    done
}
