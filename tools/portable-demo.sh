# Sourced by the demo and the screenshot tool: a portable copy of the program in a folder of its
# own, with veltra-sim registered there as the configured port COM1.
#
#   prepare_portable_demo <build dir> <folder> [veltra-sim options...]
# Sets sim_pid; the caller stops the simulator (stop_demo_sim).

prepare_portable_demo() {
    local build=$1 folder=$2
    shift 2
    mkdir -p "$folder"
    cp "$build/bin/veltra-setcalibdate" "$folder/"
    local ini=$folder/VeltraSetCheckDate.ini
    [[ -f $ini ]] || printf '[Appl]\nComPort=1\n' >"$ini"
    # A fresh terminal each run: drop the entry of the last run's simulator.
    sed -i '/^COM1=/d' "$ini"
    "$build/bin/veltra-sim" --register 1 --ini "$ini" --log "$folder/sim.log" "$@" \
        >"$folder/sim.out" 2>&1 &
    sim_pid=$!
    for _ in $(seq 100); do
        grep -q '^COM1=' "$ini" && return 0
        sleep 0.05
    done
    echo "veltra-sim did not start:" >&2
    cat "$folder/sim.out" >&2
    return 1
}

stop_demo_sim() {
    if [[ -n ${sim_pid:-} ]]; then
        kill "$sim_pid" 2>/dev/null || true
        wait "$sim_pid" 2>/dev/null || true
        sim_pid=
    fi
}
