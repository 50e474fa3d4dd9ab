# Sets the KORVANE16 panel's settings on a display PC through korvane16-ctl,
# and programs its board from them.

DOCUMENTATION = r"""
module: korvane16_settings
short_description: Set a KORVANE16 panel's settings and program its board
description:
  - Changes the settings file of the KORVANE16 control panel by the names of C(korvane16-ctl),
    writing only what differs, and programs the board from the file when asked.
  - Runs C(korvane16-ctl), which must be on the PATH of the managed host.
  - Fails with the tool's message when a panel runs, a name or value is bad, or the file cannot be written.
options:
  file:
    description: The settings file; without it, the desktop menu entry's file
      (C($XDG_CONFIG_HOME/korvane16/KORVANE16.ini), or C(~/.config/korvane16/KORVANE16.ini)). A named file must exist.
    type: path
  settings:
    description: The settings to have, by the names of C(korvane16-ctl) (C(standard), C(layout), C(tile.N),
      C(camera.N), C(brightness.N), C(contrast.N), C(hue.N), C(saturation.N), C(show-panel)), with values in the
      tool's words or numbers. YAML's C(on)/C(off) and C(true)/C(false) mean on and off.
    type: dict
    default: {}
  apply:
    description: Program the board from the file afterwards, as C(korvane16-ctl apply) does.
    type: bool
    default: false
attributes:
  check_mode:
    support: full
  diff_mode:
    support: full
"""

EXAMPLES = r"""
- name: Cameras 3 and 7 side by side on a PAL monitor
  korvane16_settings:
    settings:
      standard: pal
      layout: 4
      tile.1: 3
      tile.2: 7
      show-panel: off
    apply: true
"""

RETURN = r"""
changed:
  description: True when a value changed or the board was programmed.
  type: bool
  returned: always
settings:
  description: The named settings after the run, by the tool's names, as C(korvane16-ctl list) shows them.
  type: dict
  returned: always
"""

import json

from ansible.module_utils.basic import AnsibleModule


def value_text(value):
    # YAML 1.1 reads on/off/yes/no as booleans.
    if isinstance(value, bool):
        return "on" if value else "off"
    return str(value)


def shown(text):
    # A value as the tool's JSON gives it: numbers as numbers.
    try:
        return int(text)
    except ValueError:
        return text


def main():
    module = AnsibleModule(
        argument_spec=dict(
            file=dict(type="path"),
            settings=dict(type="dict", default={}),
            apply=dict(type="bool", default=False),
        ),
        supports_check_mode=True,
    )
    ctl = module.get_bin_path("korvane16-ctl", required=True)
    where = ["--file", module.params["file"]] if module.params["file"] else ["--desktop"]

    def run(*args):
        rc, out, err = module.run_command([ctl] + where + list(args))
        if rc != 0:
            module.fail_json(msg=err.strip() or "korvane16-ctl exited with status %d" % rc, rc=rc)
        return out

    pairs = ["%s=%s" % (name, value_text(value)) for name, value in module.params["settings"].items()]
    before = {}
    if pairs:
        before = {s["name"]: s["value"] for s in json.loads(run("get", "--json", *module.params["settings"]))}
    after = dict(before)
    changed = False
    if pairs:
        # The dry run checks everything the write would: names, values, a running panel, the file.
        changes = [line.split(" ") for line in run("set", "--dry-run", *pairs).splitlines() if line]
        changed = bool(changes)
        if changed and not module.check_mode:
            run("set", *pairs)
        for name, _old, new in changes:
            if name in after:
                after[name] = shown(new)
    if module.params["apply"]:
        run("apply", *(["--dry-run"] if module.check_mode else []))
        changed = True

    result = dict(changed=changed, settings=after)
    if module._diff:
        result["diff"] = dict(
            before="".join("%s: %s\n" % item for item in before.items()),
            after="".join("%s: %s\n" % item for item in after.items()),
        )
    module.exit_json(**result)


if __name__ == "__main__":
    main()
