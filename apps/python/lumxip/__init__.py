"""lumxip: machine-vision image-processing components, driven from Python.

    import numpy as np, lumxip
    histogram = lumxip.create("Halvex.LumHistogram")
    result = histogram.Execute(np.zeros((64, 64), np.uint8), 1, None)
    print(result.Mean)

A component's attributes are its dispatch members: properties read and assign, methods
call, indexed properties index (``tool.Name[i]``). Enumerated properties read as
``IntEnum`` members (their types are in ``component.enums``). numpy arrays pass as images;
images are numpy-compatible (``np.asarray(image)``). Failures raise ``lumxip.Error``.
"""

import enum as _enum

import numpy as _np

from . import _lumxip
from ._errors import Error
from ._lumxip import Connection, Image, Object, dumps, image, loads, read_image, write_image

__all__ = ["Connection", "Error", "Image", "Object", "create", "describe", "dumps", "image",
           "load", "loads", "progids", "read_image", "save", "write_image"]

_METHOD, _GET, _PUT = 1, 2, 4
_BAD_PARAM_COUNT = 0x8002000E


class _Member:
    __slots__ = ("name", "kind", "type", "default", "description", "enum")

    def __init__(self, name, kind, vtype, default, description, enumeration):
        self.name, self.kind, self.type = name, kind, vtype
        self.default, self.description = default, description
        self.enum = _enum.IntEnum(name, enumeration) if enumeration else None

    def doc(self):
        text = f"{self.name}: {self.kind}"
        if self.type:
            text += f" ({self.type})"
        if self.default:
            text += f" = {self.default}"
        if self.description:
            text += f"\n{self.description}"
        if self.enum:
            text += "\n" + "\n".join(f"  {m.value} {m.name}" for m in self.enum)
        return text


# Member tables by class identifier: every object of a class shares one.
_tables = {}


def _members_of(obj):
    key = obj._class_id()
    table = _tables.get(key) if key else None
    if table is None:
        table = {}
        for name, _dispid, kind, vtype, default, description, enumeration in obj._members():
            table[name.lower()] = _Member(name, kind, vtype, default, description, enumeration)
        if key:
            _tables[key] = table
    return table


def _as_enum(member, value):
    if member is not None and member.enum is not None and isinstance(value, int):
        try:
            return member.enum(value)
        except ValueError:
            pass
    return value


class _Method:
    """A component's method, bound to it."""

    def __init__(self, obj, name, doc):
        self._obj, self._name, self.__doc__ = obj, name, doc

    def __call__(self, *args):
        return self._obj._invoke(self._name, _METHOD, *args)

    def __repr__(self):
        return f"<method {self._name} of {self._obj!r}>"


class _Indexed:
    """An indexed property: ``obj.Name[i]`` reads, ``obj.Name[i] = v`` writes."""

    def __init__(self, obj, name, doc):
        self._obj, self._name, self.__doc__ = obj, name, doc

    def __getitem__(self, index):
        args = index if isinstance(index, tuple) else (index,)
        return self._obj._invoke(self._name, _GET, *args)

    def __setitem__(self, index, value):
        args = index if isinstance(index, tuple) else (index,)
        self._obj._invoke(self._name, _PUT, *args, value)

    def __call__(self, *args):
        return self._obj._invoke(self._name, _GET, *args)


class _Enums:
    """The enumeration types of a component's properties, by property name."""

    def __init__(self, table):
        for member in table.values():
            if member.enum is not None:
                setattr(self, member.name, member.enum)


def _getattr(self, name):
    if name.startswith("__"):
        raise AttributeError(name)
    if name == "enums":
        return _Enums(_members_of(self))
    member = _members_of(self).get(name.lower())
    if member is None:
        if _members_of(self):
            raise AttributeError(f"{type(self).__name__} has no member {name!r}")
        return self._invoke(name, _GET)  # an object that does not describe itself
    if member.kind == "persisted":
        raise AttributeError(f"{member.name} is saved with the component but not readable")
    if member.kind == "method":
        return _Method(self, member.name, member.doc())
    if member.kind == "indexed property":
        try:  # a property read through accessor functions takes no index
            return self._invoke(member.name, _GET)
        except Error as e:
            if e.hresult != _BAD_PARAM_COUNT:
                raise
        return _Indexed(self, member.name, member.doc())
    return _as_enum(member, self._invoke(member.name, _GET))


def _setattr(self, name, value):
    table = _members_of(self)
    member = table.get(name.lower())
    if member is None and table:
        raise AttributeError(f"{type(self).__name__} has no member {name!r}")
    if member is not None and member.enum is not None and isinstance(value, str):
        if value in member.enum.__members__:
            value = member.enum[value]
    self._invoke(name, _PUT, value)


def _dir(self):
    return sorted(set(object.__dir__(self)) | {m.name for m in _members_of(self).values() if m.kind != "persisted"})


def _repr(self):
    return f"<lumxip.{type(self).__name__} {self._class_id() or 'object'}>"


def _deepcopy(self, memo):
    return self._invoke("Clone", _METHOD)


def _restore(saved):
    return loads(saved)


def _reduce(self):
    return (_restore, (dumps(self, "json"),))


def _on_change(self, callback):
    """Calls ``callback(state_id, value, flags)`` on every change event; returns the
    Connection (close it to stop). It runs on the thread that raised the event."""
    return _lumxip._on_change(self, callback)


def _on_tool_event(self, callback):
    """Calls ``callback(name)`` with "running", "ran" or "terminate_requested" on each
    tool event; returns the Connection."""
    return _lumxip._on_tool_event(self, callback)


Object.__getattr__ = _getattr
Object.__setattr__ = _setattr
Object.__dir__ = _dir
Object.__repr__ = _repr
Object.__deepcopy__ = _deepcopy
Object.__copy__ = lambda self: self  # a shallow copy is the same component
Object.__reduce__ = _reduce
Object.__reduce_ex__ = lambda self, protocol: _reduce(self)
Object.on_change = _on_change
Object.on_tool_event = _on_tool_event


def _image_array(self):
    """The pixels as a numpy array: the image's own memory, read-only (a masked array for
    a range image, masked where the mask is 0)."""
    values = _np.asarray(self)
    if self._mask() is None:
        return values
    return _np.ma.masked_array(values, mask=self._mask() == 0)


Image.to_numpy = _image_array
Image.mask = property(lambda self: self._mask(), doc="The valid-pixel mask of a range image")
Image.depth = property(
    lambda self: self._invoke("PixelDepth", _GET) if "pixeldepth" in _members_of(self) else None,
    lambda self, code: self._invoke("PixelDepth", _PUT, code),
    doc="The pixel-depth code of a 16-bit image (1 = 10 bits ... 4 = 16, 5 = 8), else None")
Image.shape = property(lambda self: _np.asarray(self).shape)


def create(progid):
    """A new component made by its ProgID ("Halvex.LumHistogramTool")."""
    return _lumxip.create(progid)


def progids():
    """The ProgIDs of every registered class."""
    return list(_lumxip._progids())


def describe(obj):
    """The description of every member of a component, as ``lumxip describe`` gives it."""
    return "\n\n".join(m.doc() for m in _members_of(obj).values())


def save(obj, path, format=None):
    """Saves a component to a file: JSON for ".json" (or format="json"), binary otherwise."""
    if format is None:
        format = "json" if str(path).lower().endswith(".json") else "binary"
    data = dumps(obj, format)
    with open(path, "wb") as file:
        file.write(data)


def load(path):
    """The component a file holds (either encoding)."""
    with open(path, "rb") as file:
        return loads(file.read())

