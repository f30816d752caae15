# Sourced by the scripts that run Vantrix on real interfaces with traffic
# that never leaves the machine: private network namespaces joined by veth
# pairs. Needs root.
#   make_veth_pair NS PEER NAME PEER_NAME PREFIX
# adds the pair NAME (in NS, address PREFIX.1/24) and PEER_NAME (in PEER,
# PREFIX.2/24), both up; the namespaces are made when missing, with their
# loopback up.
#   remove_namespaces NS...
# ends every process in them and deletes them.
make_veth_pair() {
  local ns=$1 peer=$2 name=$3 peerName=$4 prefix=$5 n
  for n in "$ns" "$peer"; do
    ip netns list | grep -qw "$n" || { ip netns add "$n" && ip -n "$n" link set lo up; }
  done
  ip link add "$name" netns "$ns" type veth peer name "$peerName" netns "$peer"
  ip -n "$ns" addr add "$prefix.1/24" dev "$name"
  ip -n "$peer" addr add "$prefix.2/24" dev "$peerName"
  ip -n "$ns" link set "$name" up
  ip -n "$peer" link set "$peerName" up
}

remove_namespaces() {
  local n
  for n in "$@"; do
    ip netns pids "$n" 2>/dev/null | xargs -r kill 2>/dev/null || true
    ip netns del "$n" 2>/dev/null || true
  done
}
