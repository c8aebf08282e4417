#pragma once

// Base of every outside component that the program creates by its name.
class Component {
public:
    virtual ~Component() = default;
};
