#!/usr/bin/python3
"""A stranger on the lab's network, written from the drone link's wire protocol alone: UDP announcements (JSON),
TLS links carrying 4-byte big-endian length-prefixed frames, a JSON hello first. It prints "key HEX" first, then
"listening PORT", "hello from NAME", "linked", "pairing", "refused" (also when a link ends), "frame TEXT",
"relayed hello", "open N", "closed". --wait: link once a line arrives on standard input; on a drone's invitation
each later line "header N" sends a frame's length alone.
"""
import argparse, hashlib, json, os, shutil, socket, ssl, struct, subprocess, sys, tempfile, threading, time, uuid

SERVICE = "swift-mc-demo"
folder = tempfile.mkdtemp(prefix="outsider-")
certificate, key = os.path.join(folder, "cert.pem"), os.path.join(folder, "key.pem")
subprocess.run(["openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256", "-nodes",
                "-subj", "/CN=outsider", "-days", "2", "-keyout", key, "-out", certificate],
               check=True, capture_output=True)
with open(certificate) as f:
    own_key = hashlib.sha256(ssl.PEM_cert_to_DER_cert(f.read())).hexdigest()


contexts = {side: ssl.SSLContext(side) for side in (ssl.PROTOCOL_TLS_CLIENT, ssl.PROTOCOL_TLS_SERVER)}
for c in contexts.values():
    c.check_hostname, c.verify_mode = False, ssl.CERT_NONE
    c.load_cert_chain(certificate, key)
shutil.rmtree(folder)


def say(*words):
    print(*words, flush=True)


def send(link, payload):
    link.sendall(struct.pack(">I", len(payload)) + payload)


def receive(link):
    """One frame, or None once the peer has closed."""
    def exactly(n):
        data = b""
        while len(data) < n:
            chunk = link.recv(n - len(data))
            if not chunk:
                return None
            data += chunk
        return data
    header = exactly(4)
    return None if header is None else exactly(struct.unpack(">I", header)[0])


def hello(name, peer_id, pair=False):
    return json.dumps({"service": SERVICE, "name": name, "id": peer_id} | ({"pair": True} if pair else {})).encode()


def connect(port):
    return contexts[ssl.PROTOCOL_TLS_CLIENT].wrap_socket(socket.create_connection(("127.0.0.1", port), 5))


def ended(link, seconds=None):
    """Whether the peer ends the link within the time."""
    link.settimeout(seconds)
    try:
        while link.recv(4096):
            pass
    except TimeoutError:
        return False
    except OSError:
        pass
    return True


def open_link(port, first):
    """Links to 127.0.0.1:port with the first frame; the peer's hello, or None when refused."""
    try:
        link = connect(port)
        send(link, first)
        answer = receive(link)
    except OSError:
        return None, None
    return link, (None if answer is None else json.loads(answer))


def listen(on_hello):
    """Takes links on a port of its own and says it; each hello goes to on_hello(link, hello)."""
    server = socket.create_server(("127.0.0.1", 0))
    tls = contexts[ssl.PROTOCOL_TLS_SERVER]

    def take(raw):
        try:
            link = tls.wrap_socket(raw, server_side=True)
            theirs = receive(link)
        except OSError:
            theirs = None
        if theirs is None:
            say("refused")
        else:
            on_hello(link, theirs)

    def serve():
        while True:
            raw, _ = server.accept()
            threading.Thread(target=take, args=(raw,), daemon=True).start()
    threading.Thread(target=serve, daemon=True).start()
    say("listening", server.getsockname()[1])
    return server.getsockname()[1]


def announce(name, peer_id, peer_key, port, interval):
    target = ("127.255.255.255", int(os.environ.get("TAVOREN_DISCOVERY_PORT", "53530")))
    sender = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    sender.setsockopt(socket.SOL_SOCKET, socket.SO_BROADCAST, 1)
    message = json.dumps({"service": SERVICE, "name": name, "id": peer_id, "port": port, "key": peer_key}).encode()
    while True:
        sender.sendto(message, target)
        time.sleep(interval)


def read_frames(link):
    try:
        while (frame := receive(link)) is not None:
            say("frame", frame.decode(errors="replace"))
    except OSError:
        pass
    say("refused")


def steer(link):
    for line in sys.stdin:
        if line.startswith("header "):
            link.sendall(struct.pack(">I", int(line.split()[1])))


def as_drone(arguments):
    def on_hello(link, theirs):
        say("hello from", json.loads(theirs).get("name"))
        send(link, hello(arguments.name, arguments.id))
        say("linked")
        read_frames(link)
    port = listen(on_hello)
    if arguments.invite:
        if arguments.wait:
            sys.stdin.readline()
        link, answer = open_link(arguments.invite, hello(arguments.name, arguments.id))
        say("linked" if answer else "refused")
        if answer:
            threading.Thread(target=read_frames, args=(link,), daemon=True).start()
            threading.Thread(target=steer, args=(link,), daemon=True).start()
    if arguments.unannounced:
        threading.Event().wait()
    announce(arguments.name, arguments.id, arguments.key or own_key, port, 0.05)


def as_timekeeper(arguments):
    if arguments.wait:
        sys.stdin.readline()
    link, answer = open_link(arguments.port, hello("outsider timekeeper", str(uuid.uuid4()), arguments.pair))
    if answer is None:
        say("refused")
        return
    say("pairing" if answer.get("pair") else "linked")
    if arguments.state:
        send(link, ("@State: seq:1|" + arguments.state).encode())
    read_frames(link)


def as_relay(arguments):
    def pump(source, sink):
        try:
            while (frame := receive(source)) is not None:
                send(sink, frame)
        except OSError:
            pass
        for end in (source, sink):
            end.close()

    def on_hello(timekeeper, theirs):
        say("relayed hello")
        drone, answer = open_link(arguments.drone_port, theirs)
        if answer is None:
            say("refused")
            return
        send(timekeeper, json.dumps(answer).encode())
        threading.Thread(target=pump, args=(drone, timekeeper), daemon=True).start()
        pump(timekeeper, drone)
    port = listen(on_hello)
    if arguments.id:
        announce(arguments.name, arguments.id, arguments.key, port, 0.05)
    threading.Event().wait()


def as_links(arguments):
    """Links that say no hello, silent or (--half-frames) each sending most of a frame of just under a mebibyte,
    five at a time that the peer must end within 3 s. "open N" once a lot is tried, "closed" once the peer ended
    all, "left open in lot K" when it did not."""
    lot = 5 if arguments.half_frames else arguments.count
    for first in range(0, arguments.count, lot):
        links = []
        for _ in range(lot):
            try:
                links.append(connect(arguments.port))
                if arguments.half_frames:
                    links[-1].sendall(struct.pack(">I", (1 << 20) - 1) + b"x" * ((1 << 20) - 2))
            except OSError:
                pass
        say("open", len(links))
        if not all([ended(link, 3 if arguments.half_frames else None) for link in links]):
            say("left open in lot", first // lot)
            return
    say("closed")


parser = argparse.ArgumentParser()
roles = parser.add_subparsers(dest="role", required=True)
drone, timekeeper, relay, links = (roles.add_parser(role) for role in ("drone", "timekeeper", "relay", "links"))
drone.add_argument("--name", required=True)
drone.add_argument("--id", default=str(uuid.uuid4()))
drone.add_argument("--key")
drone.add_argument("--invite", type=int)
timekeeper.add_argument("--port", type=int, required=True)
timekeeper.add_argument("--state")
relay.add_argument("--drone-port", type=int, required=True)
for option in ("--name", "--id", "--key"):
    relay.add_argument(option)
links.add_argument("--port", type=int, required=True)
links.add_argument("--count", type=int, required=True)
for role, switch in ((drone, "--unannounced"), (drone, "--wait"), (timekeeper, "--pair"), (timekeeper, "--wait"),
                     (links, "--half-frames")):
    role.add_argument(switch, action="store_true")
arguments = parser.parse_args()
say("key", own_key)
{"drone": as_drone, "timekeeper": as_timekeeper, "relay": as_relay, "links": as_links}[arguments.role](arguments)
