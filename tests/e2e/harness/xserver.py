"""One Xvfb for a whole test run, on a display number the server picks itself."""
import os
import pathlib
import subprocess



class Xvfb:
    def __init__(self, width=1024, height=768, framebuffer_dir=None):
        """framebuffer_dir: Xvfb keeps its screen there as an XWD file,
        Xvfb_screen0, for screenshots (harness/screenshot.py)."""
        read_end, write_end = os.pipe()
        extra = ["-fbdir", str(framebuffer_dir)] if framebuffer_dir else []
        # -displayfd: Xvfb chooses a free display and writes its number once
        # it accepts connections, so there is no race over display numbers.
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{width}x{height}x24",
             "-nolisten", "tcp", "-noreset", *extra],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        with os.fdopen(read_end, "rb") as pipe:
            while not number.endswith(b"\n"):
                chunk = pipe.read(1)
                if not chunk:
                    break
                number += chunk
        if not number.strip():
            self.process.kill()
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + number.decode().strip()
        self.framebuffer = pathlib.Path(framebuffer_dir) / "Xvfb_screen0" if framebuffer_dir else None

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
