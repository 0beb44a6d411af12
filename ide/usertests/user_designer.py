"""A resource script named on the command line opens with its form: the
installation's RC compiles it (with tq70form.h from its INCLUDE) and the
form window "Greeting" shows in design mode."""
import os

from uidrive import Session

with Session("designer") as s:
    rc = s.put("examples/designer/FORMS.RC")
    s.start(rc)
    s.check(s.wait_file(os.path.join(s.files, "FORMS.res"), 60),
            "the installation's RC compiled FORMS.RC")
    s.wait_window(r"^Tambrix - ")
    form = s.find_window(r"Greeting") or (s.shot("opened") or None)
    s.shot("opened")
