"""The machine set-up shared by tools/run and tools/test, on a stand-in apt:
a mirror that refuses its i386 index and Wine's 32-bit half must cost the
32-bit end-to-end tests and nothing else, and every failure says why in apt's
own words, never as an error of the script itself."""

import os
import shutil
import stat
import subprocess
import tempfile
import textwrap
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SETUP = os.path.join(ROOT, "tools", "setup.sh")

# Stand-ins for the commands the set-up calls as root. State lives in files of
# $FAKE_STATE: installed/<package>, architectures.
FAKES = {
    "apt-get": r"""
        #!/bin/bash
        for word in "$@"; do
          case $word in
            update)
              echo "Hit:1 http://deb.example stable InRelease"
              if [[ -n ${FAKE_UPDATE_FAILS:-} ]]; then
                echo "E: Failed to fetch http://deb.example/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?" >&2
                exit 100
              fi
              exit 0 ;;
            install) install=1 ;;
            -*) ;;
            *) if [[ -n ${install:-} ]]; then packages+=("$word"); fi ;;
          esac
        done
        for package in "${packages[@]}"; do
          if [[ " ${FAKE_REFUSED:-} " == *" $package "* ]]; then
            echo "E: Unable to correct problems, you have held broken packages." >&2
            exit 100
          fi
        done
        for package in "${packages[@]}"; do touch "$FAKE_STATE/installed/$package"; done
        """,
    "dpkg-query": r"""
        #!/bin/bash
        package=${!#}
        [[ -e $FAKE_STATE/installed/$package ]] || exit 1
        printf 'ii '
        """,
    "dpkg": r"""
        #!/bin/bash
        case $1 in
          --print-foreign-architectures) cat "$FAKE_STATE/architectures" ;;
          --add-architecture) echo "$2" >>"$FAKE_STATE/architectures" ;;
          *) exit 2 ;;
        esac
        """,
    "locale": r"""
        #!/bin/bash
        printf 'C.utf8\nen_US.utf8\nja_JP.utf8\n'
        """,
    "sudo": r"""
        #!/bin/bash
        [[ $1 == -n ]] && shift
        exec "$@"
        """,
}


class SetupScriptTest(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="trevo-setup-")
        self.addCleanup(shutil.rmtree, self.work)
        self.state = os.path.join(self.work, "state")
        os.makedirs(os.path.join(self.state, "installed"))
        open(os.path.join(self.state, "architectures"), "w").close()
        bin_dir = os.path.join(self.work, "bin")
        os.makedirs(bin_dir)
        for name, body in FAKES.items():
            path = os.path.join(bin_dir, name)
            with open(path, "w") as script:
                script.write(textwrap.dedent(body).lstrip())
            os.chmod(path, os.stat(path).st_mode | stat.S_IXUSR)
        self.env = dict(os.environ, PATH=bin_dir + os.pathsep + os.environ["PATH"], FAKE_STATE=self.state,
                        TREVO_APT_RETRY_SECONDS="0", TREVO_32BIT_CODE="yes")
        self.env.pop("CI", None)

    def package_lists(self):
        listed = self.bash('echo "${TREVO_RUN_PACKAGES[*]}"; echo "${TREVO_TEST_PACKAGES[*]}"').stdout.splitlines()
        return listed[0].split(), listed[1].split()

    def install(self, *packages):
        for package in packages:
            open(os.path.join(self.state, "installed", package), "w").close()

    def installed(self, package):
        return os.path.exists(os.path.join(self.state, "installed", package))

    def bash(self, script, **env):
        return subprocess.run(["bash", "-c", f"set -u; source '{SETUP}'; {script}"], env=dict(self.env, **env),
                              capture_output=True, text=True, timeout=120)

    def test_a_mirror_refusing_the_32bit_half_costs_only_the_32bit_half(self):
        run_packages, test_packages = self.package_lists()
        self.install(*run_packages, *[p for p in test_packages if p != "xdotool"])
        done = self.bash('trevo_prepare_test_machine; echo "status=$?"; trevo_install_32bit_half; '
                         'echo "missing=$TREVO_32BIT_MISSING"',
                         FAKE_UPDATE_FAILS="1", FAKE_REFUSED="wine32:i386")
        self.assertIn("status=0", done.stdout, done.stderr)
        self.assertTrue(self.installed("xdotool"), "the 64-bit package was not installed after a failed update")
        self.assertFalse(self.installed("wine32:i386"))
        self.assertIn("missing=Wine's 32-bit half could not be installed: "
                      "E: Unable to correct problems, you have held broken packages.", done.stdout)
        with open(os.path.join(self.state, "architectures")) as architectures:
            self.assertEqual(architectures.read().split(), ["i386"])
        # Nothing is asked for where the machine executes no 32-bit code.
        done = self.bash('trevo_install_32bit_half; echo "missing=$TREVO_32BIT_MISSING"', TREVO_32BIT_CODE="no")
        self.assertIn("missing=this machine executes no 32-bit code", done.stdout)

    def test_running_trevo_asks_only_for_what_the_64bit_trevo_needs(self):
        run_packages, test_packages = self.package_lists()
        self.assertNotIn("wine32:i386", run_packages + test_packages)
        self.install(*run_packages)
        done = self.bash('trevo_prepare_run_machine; echo "status=$?"', FAKE_REFUSED=" ".join(test_packages))
        self.assertIn("status=0", done.stdout, done.stderr)
        self.assertIn("All packages present.", done.stdout)

    def test_a_package_still_missing_fails_with_apts_words(self):
        run_packages, _ = self.package_lists()
        self.install(*run_packages[1:])
        done = self.bash('trevo_prepare_run_machine; echo "status=$?"', FAKE_REFUSED=run_packages[0])
        self.assertIn("status=1", done.stdout)
        self.assertIn(f"Still missing after the install: {run_packages[0]}", done.stderr)
        self.assertIn("apt said: E: Unable to correct problems", done.stderr)

    def test_an_early_failure_of_either_command_prints_the_reason_not_a_shell_error(self):
        run_packages, test_packages = self.package_lists()
        refused = dict(FAKE_REFUSED=" ".join(run_packages + test_packages))
        for command in ("test", "run"):
            with self.subTest(command=command):
                done = subprocess.run(["bash", os.path.join(ROOT, "tools", command)], env=dict(self.env, **refused),
                                      capture_output=True, text=True, timeout=120, stdin=subprocess.DEVNULL)
                self.assertEqual(done.returncode, 1)
                self.assertIn("held broken packages", done.stderr)
                self.assertNotRegex(done.stderr, r"unbound variable|line \d+:|command not found")
                if command == "test":
                    self.assertIn("Summary", done.stdout)
                    self.assertIn("RESULT: FAILED", done.stdout)
                else:
                    self.assertIn("ERROR: preparing the machine failed", done.stderr)


if __name__ == "__main__":
    unittest.main()
