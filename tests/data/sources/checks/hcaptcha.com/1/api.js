// a check widget would load here
